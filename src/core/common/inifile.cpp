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

const IniFile::Index& IniFile::index() const {
    if (m_index)
        return *m_index;
    Index built;
    QString current; // folded name of the section the line is in
    qsizetype currentPosition = -1;
    bool inFirstBlock = false; // writes go to the first block of a repeated section
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString& line = m_lines[i];
        if (const auto name = sectionName(line)) {
            current = name->toCaseFolded();
            const auto known = built.sections.constFind(current);
            inFirstBlock = known == built.sections.constEnd();
            if (inFirstBlock) {
                currentPosition = built.located.size();
                built.sections.insert(current, currentPosition);
                built.located.append({i, i + 1, -1});
            }
            continue;
        }
        if (currentPosition < 0)
            continue;
        if (inFirstBlock && !line.trimmed().isEmpty())
            built.located[currentPosition].sectionEnd = i + 1;
        if (const auto kv = keyValue(line)) {
            const std::pair<QString, QString> name(current, kv->first.toCaseFolded());
            if (!built.keys.contains(name)) { // the first one counts
                built.keys.insert(name, built.keyLines.size());
                built.keyLines.append(i);
            }
        }
    }
    m_index = std::move(built);
    return *m_index;
}

IniFile::Located IniFile::locate(QStringView section, QStringView key) const {
    const Index& at = index();
    const QString sectionFolded = section.toString().toCaseFolded();
    const auto s = at.sections.constFind(sectionFolded);
    if (s == at.sections.constEnd())
        return {};
    Located found = at.located[*s];
    const auto k = at.keys.constFind({sectionFolded, key.toString().toCaseFolded()});
    if (k != at.keys.constEnd())
        found.keyLine = at.keyLines[*k];
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
        if (sectionName(m_lines[at.keyLine])) // "[a" set to "b]" reads as a section now
            linesChanged();
    } else if (at.sectionLine >= 0) {
        insertKeyLine(at.sectionEnd, line, section);
    } else {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines.append(QString());
        m_lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        m_lines.append(line);
        appendedSection();
    }
}

// Writing a hundred new keys into a section moves the lines after it a hundred times: the
// index follows instead of being rebuilt each time.
void IniFile::insertKeyLine(qsizetype at, const QString& line, QStringView section) {
    m_lines.insert(at, line);
    const auto kv = keyValue(line);
    if (!m_index || !kv || sectionName(line)) {
        linesChanged();
        return;
    }
    for (Located& s : m_index->located) {
        if (s.sectionLine >= at)
            ++s.sectionLine;
        if (s.sectionEnd >= at)
            ++s.sectionEnd;
    }
    for (qsizetype& keyLine : m_index->keyLines) {
        if (keyLine >= at)
            ++keyLine;
    }
    m_index->keys.insert({section.toString().toCaseFolded(), kv->first.toCaseFolded()},
                         m_index->keyLines.size());
    m_index->keyLines.append(at);
}

// The last two lines are a new section's header and its first key.
void IniFile::appendedSection() {
    const qsizetype header = m_lines.size() - 2;
    const auto name = sectionName(m_lines[header]);
    const auto kv = keyValue(m_lines[header + 1]);
    if (!m_index || !name || !kv || sectionName(m_lines[header + 1]) ||
        m_index->sections.contains(name->toCaseFolded())) {
        linesChanged();
        return;
    }
    const QString folded = name->toCaseFolded();
    m_index->sections.insert(folded, m_index->located.size());
    m_index->located.append({header, header + 2, -1});
    m_index->keys.insert({folded, kv->first.toCaseFolded()}, m_index->keyLines.size());
    m_index->keyLines.append(header + 1);
}

void IniFile::removeKey(QStringView section, QStringView key) {
    const Located at = locate(section, key);
    if (at.keyLine >= 0) {
        m_lines.removeAt(at.keyLine);
        linesChanged();
    }
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
