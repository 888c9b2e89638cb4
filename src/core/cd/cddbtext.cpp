#include "cddbtext.h"

#include "core/common/atomicfile.h"
#include "core/common/windows1252.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>

namespace cddb {
namespace {

QStringList replyLines(const QString& reply) {
    QString text = reply;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.split(QLatin1Char('\n'));
}

QString unescape(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value[i + 1];
            if (next == QLatin1Char('n')) {
                out += QLatin1Char('\n');
                ++i;
                continue;
            }
            if (next == QLatin1Char('t')) {
                out += QLatin1Char('\t');
                ++i;
                continue;
            }
            if (next == QLatin1Char('\\')) {
                out += QLatin1Char('\\');
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// Splits "a / b" or else "a - b"; nullopt when the value has neither separator.
std::optional<std::pair<QString, QString>> split(const QString& value, const QString& separator) {
    const qsizetype at = value.indexOf(separator);
    if (at < 0)
        return std::nullopt;
    return std::make_pair(value.left(at), value.mid(at + separator.size()));
}

} // namespace

QString userNameProblem(const QString& name) {
    const QString trimmed = name.trimmed();
    const qsizetype at = trimmed.lastIndexOf(QLatin1Char('@'));
    bool bad = trimmed.isEmpty() || trimmed.contains(QRegularExpression(QStringLiteral("\\s")));
    if (!bad && at >= 0)
        bad = at == 0 || at == trimmed.size() - 1 || trimmed.count(QLatin1Char('@')) > 1;
    if (!bad)
        return {};
    return QStringLiteral("Bitte geben Sie als Benutzernamen Ihre E-Mail-Adresse ohne "
                          "Leerzeichen ein (zum Beispiel max.muster@example.org).");
}

int replyCode(const QString& reply) {
    return reply.section(QLatin1Char(' '), 0, 0).trimmed().left(3).toInt();
}

std::optional<ServerAddress> parseServerLine(const QString& line) {
    const QStringList fields = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() < 2)
        return std::nullopt;
    bool ok = false;
    quint16 port = fields[1].toUShort(&ok);
    if (!ok && fields.size() >= 3)
        port = fields[2].toUShort(&ok);
    if (!ok || port == 0)
        return std::nullopt;
    ServerAddress address{fields[0], port};
    if (fields[1].compare(QLatin1String("http"), Qt::CaseInsensitive) == 0) {
        address.http = true;
        const QString path = fields.value(3);
        address.path = path.startsWith(QLatin1Char('/')) ? path : QStringLiteral("/~cddb/cddb.cgi");
    }
    return address;
}

QString serverListPath(const QString& dataDirectory) {
    const QDir dir(dataDirectory);
    const QString name = QStringLiteral("cddbhosts.txt");
    for (const QString& existing : dir.entryList(QDir::Files)) {
        if (existing.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(existing);
    }
    return dir.filePath(name);
}

std::optional<QStringList> loadServerList(const QString& path, QString* firstLine) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringList lines;
    for (const QString& line : replyLines(windows1252::decodeTextFile(file.readAll()))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (firstLine && lines.isEmpty())
            *firstLine = trimmed;
        lines.append(trimmed);
    }
    lines.sort();
    return lines;
}

bool writeServerList(const QString& path, const QString& sitesReply) {
    QString text;
    const QStringList lines = replyLines(sitesReply);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty() || lines[i].startsWith(QLatin1Char('.')))
            break;
        text += lines[i] + QStringLiteral("\r\n");
    }
    return atomicfile::write(path, windows1252::encodeTextFile(text));
}

QList<Hit> parseQueryReply(const QString& reply) {
    QList<Hit> hits;
    const QStringList lines = replyLines(reply);
    if (lines.isEmpty())
        return hits;
    auto hitOf = [](const QString& line) {
        const QStringList parts = line.split(QLatin1Char(' '));
        return Hit{parts.value(0), parts.value(1), parts.mid(2).join(QLatin1Char(' '))};
    };
    const int code = replyCode(lines.first());
    if (code == 200) {
        hits.append(hitOf(lines.first().section(QLatin1Char(' '), 1)));
    } else if (code == 211 || code == 210) {
        for (qsizetype i = 1; i < lines.size() && lines[i] != QLatin1String("."); ++i) {
            if (!lines[i].trimmed().isEmpty())
                hits.append(hitOf(lines[i]));
        }
    }
    return hits;
}

DiscRecord parseRecord(const QString& record) {
    DiscRecord disc;
    QString dtitle, extd;
    QMap<int, QString> ttitles;
    bool seenDtitle = false;
    for (const QString& line : replyLines(record)) {
        if (line == QLatin1String("."))
            break;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || line.startsWith(QLatin1Char('#')))
            continue;
        const QString key = line.left(eq).trimmed().toUpper();
        const QString value = line.mid(eq + 1);
        if (key == QLatin1String("DTITLE")) {
            dtitle += value;
            seenDtitle = true;
        } else if (key == QLatin1String("DYEAR")) {
            disc.year = value.trimmed();
        } else if (key == QLatin1String("DGENRE")) {
            disc.genre += value;
        } else if (key == QLatin1String("EXTD")) {
            extd += value;
        } else if (key.startsWith(QLatin1String("TTITLE"))) {
            bool ok = false;
            const int n = key.mid(6).toInt(&ok);
            if (ok && n >= 0 && n < 100)
                ttitles[n] += value;
        }
    }
    if (seenDtitle) {
        const QString d = unescape(dtitle);
        if (const auto parts = split(d, QStringLiteral(" / ")))
            std::tie(disc.artist, disc.title) = *parts;
        else if (const auto dashed = split(d, QStringLiteral(" - ")))
            std::tie(disc.artist, disc.title) = *dashed;
        else
            disc.artist = disc.title = d;
    }
    disc.genre = unescape(disc.genre).trimmed();
    if (!extd.isEmpty())
        disc.extendedData = unescape(extd).split(QLatin1Char('\n'));
    const int count = ttitles.isEmpty() ? 0 : ttitles.lastKey() + 1;
    for (int n = 0; n < count; ++n) {
        const QString t = unescape(ttitles.value(n));
        TCDTitleList entry;
        if (const auto parts = split(t, QStringLiteral(" / "))) {
            entry.interpreter = parts->first;
            entry.title = parts->second;
        } else if (const auto dashed = split(t, QStringLiteral(" - "))) {
            entry.title = dashed->first;
            entry.interpreter = dashed->second;
        } else {
            entry.title = t;
            entry.interpreter = disc.artist;
        }
        disc.tracks.append(entry);
    }
    return disc;
}

} // namespace cddb
