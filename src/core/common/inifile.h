#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// A classic initialisation file: "[Section]" lines and "key=value" lines. Section and key
// names compare without letter case. Updating a key changes its line in place and keeps
// every other line, comments and unknown entries included, in its order.
class IniFile {
public:
    enum class Quotes { Keep, Strip };

    IniFile() = default;

    // A missing file gives an empty IniFile and no error; an unreadable one gives an error.
    static std::optional<IniFile> load(const QString& path, QString* error = nullptr);
    static IniFile fromText(const QString& text);

    // The value trimmed of blanks; with Quotes::Strip one enclosing pair of double quotes
    // is removed as well. nullopt when the key is absent.
    std::optional<QString> value(QStringView section, QStringView key,
                                 Quotes quotes = Quotes::Keep) const;
    QString value(QStringView section, QStringView key, const QString& fallback,
                  Quotes quotes = Quotes::Keep) const;
    bool contains(QStringView section, QStringView key) const;

    // Replaces the key's line, or adds it at the end of its section (and the section at
    // the end of the file).
    void setValue(const QString& section, const QString& key, const QString& value);
    void removeKey(QStringView section, QStringView key);

    QStringList sections() const;
    // Keys of a section in file order.
    QStringList keys(QStringView section) const;

    QString text() const;
    // Written atomically with Windows line ends, in Windows-1252 or UTF-8 with BOM.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    struct Located {
        qsizetype sectionLine = -1; // header line of the section
        qsizetype sectionEnd = -1;  // one past the section's last non-blank line
        qsizetype keyLine = -1;
    };
    Located locate(QStringView section, QStringView key) const;
    // Where each section and key is, by case-folded names; built on the first look-up after
    // a change of the lines. A program reads a hundred keys: scanning the file for each made
    // reading quadratic. Line numbers sit in flat lists so that an inserted line moves them
    // cheaply.
    struct Index {
        QHash<QString, qsizetype> sections;                 // name -> position in `located`
        QList<Located> located;                             // keyLine unused
        QHash<std::pair<QString, QString>, qsizetype> keys; // section, key -> in `keyLines`
        QList<qsizetype> keyLines;
    };
    const Index& index() const;
    void linesChanged() { m_index.reset(); }
    void insertKeyLine(qsizetype at, const QString& line, QStringView section);
    void appendedSection();
    static std::optional<QString> sectionName(const QString& line);
    static std::optional<std::pair<QString, QString>> keyValue(const QString& line);

    QStringList m_lines;
    mutable std::optional<Index> m_index;
};
