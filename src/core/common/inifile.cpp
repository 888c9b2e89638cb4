#include "inifile.h"

#include "atomicfile.h"
#include "windows1252.h"

#include <QFile>

std::optional<IniFile> IniFile::load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.exists())
        return IniFile();
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2")
                         .arg(path, file.errorString());
        return std::nullopt;
    }
    return fromText(windows1252::decodeTextFile(file.readAll()));
}

IniFile IniFile::fromText(const QString& text) {
    IniFile ini;
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    ini.m_lines = normalised.split(QLatin1Char('\n'));
    if (!ini.m_lines.isEmpty() && ini.m_lines.last().isEmpty())
        ini.m_lines.removeLast();
    return ini;
}

std::optional<QString> IniFile::sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.front() == QLatin1Char('[') && t.back() == QLatin1Char(']'))
        return t.mid(1, t.size() - 2).trimmed();
    return std::nullopt;
}

std::optional<std::pair<QString, QString>> IniFile::keyValue(const QString& line) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.front() == QLatin1Char(';'))
        return std::nullopt;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    return std::make_pair(t.left(eq).trimmed(), t.mid(eq + 1).trimmed());
}

IniFile::Located IniFile::locate(QStringView section, QStringView key) const {
    Located found;
    bool inSection = false;
    bool inFirstBlock = false; // writes go to the first block of a repeated section
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString& line = m_lines[i];
        if (const auto name = sectionName(line)) {
            inSection = name->compare(section, Qt::CaseInsensitive) == 0;
            inFirstBlock = inSection && found.sectionLine < 0;
            if (inFirstBlock) {
                found.sectionLine = i;
                found.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (inFirstBlock && !line.trimmed().isEmpty())
            found.sectionEnd = i + 1;
        if (found.keyLine < 0) {
            const auto kv = keyValue(line);
            if (kv && kv->first.compare(key, Qt::CaseInsensitive) == 0)
                found.keyLine = i;
        }
    }
    return found;
}

std::optional<QString> IniFile::value(QStringView section, QStringView key, Quotes quotes) const {
    const Located at = locate(section, key);
    if (at.keyLine < 0)
        return std::nullopt;
    QString v = keyValue(m_lines[at.keyLine])->second;
    if (quotes == Quotes::Strip && v.size() >= 2 && v.front() == QLatin1Char('"') &&
        v.back() == QLatin1Char('"'))
        v = v.mid(1, v.size() - 2);
    return v;
}

QString IniFile::value(QStringView section, QStringView key, const QString& fallback,
                       Quotes quotes) const {
    return value(section, key, quotes).value_or(fallback);
}

bool IniFile::contains(QStringView section, QStringView key) const {
    return locate(section, key).keyLine >= 0;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    const Located at = locate(section, key);
    const QString line = key + QLatin1Char('=') + value;
    if (at.keyLine >= 0) {
        // The key keeps the spelling the file already has.
        m_lines[at.keyLine] = keyValue(m_lines[at.keyLine])->first + QLatin1Char('=') + value;
    } else if (at.sectionLine >= 0) {
        m_lines.insert(at.sectionEnd, line);
    } else {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines.append(QString());
        m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        m_lines.append(line);
    }
}

void IniFile::removeKey(QStringView section, QStringView key) {
    const Located at = locate(section, key);
    if (at.keyLine >= 0)
        m_lines.removeAt(at.keyLine);
}

QStringList IniFile::sections() const {
    QStringList names;
    for (const QString& line : m_lines) {
        if (const auto name = sectionName(line)) {
            if (!names.contains(*name, Qt::CaseInsensitive))
                names.append(*name);
        }
    }
    return names;
}

QStringList IniFile::keys(QStringView section) const {
    QStringList names;
    bool inSection = false;
    for (const QString& line : m_lines) {
        if (const auto name = sectionName(line)) {
            inSection = name->compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inSection) {
            if (const auto kv = keyValue(line);
                kv && !names.contains(kv->first, Qt::CaseInsensitive))
                names.append(kv->first);
        }
    }
    return names;
}

QString IniFile::text() const {
    QString out;
    for (const QString& line : m_lines) {
        out += line;
        out += QStringLiteral("\r\n");
    }
    return out;
}

bool IniFile::save(const QString& path, QString* error) const {
    return atomicfile::write(path, windows1252::encodeTextFile(text()), error);
}
