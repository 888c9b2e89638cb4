#include "carrierfile.h"

#include "core/common/atomicfile.h"
#include "core/common/controlchars.h"
#include "core/common/germanformat.h"
#include "core/common/laufzeit.h"
#include "core/common/windows1252.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <limits>

namespace carrierfile {
namespace {

const QString kCarrier = QStringLiteral("Tonträger");
const QString kText = QStringLiteral("Freier Text");
const QString kInfo = QStringLiteral("Export-Info");

class Writer {
public:
    void section(const QString& name) {
        if (!m_text.isEmpty())
            m_text += QStringLiteral("\r\n");
        m_text += QLatin1Char('[') + name + QStringLiteral("]\r\n");
    }
    void raw(const QString& key, const QString& value) {
        m_text += key + QLatin1Char('=') + value + QStringLiteral("\r\n");
    }
    void text(const QString& key, QString value) {
        // A line end inside a value would end the line; the entry fields hold none.
        value.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        value.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        raw(key, QLatin1Char('"') + value + QLatin1Char('"'));
    }
    void integer(const QString& key, qint64 value) { raw(key, QString::number(value)); }
    void decimal(const QString& key, double value) { raw(key, QString::number(value, 'f', 2)); }
    void date(const QString& key, const QDate& value) {
        text(key, value.isValid() ? value.toString(QStringLiteral("dd.MM.yyyy")) : QString());
    }
    const QString& result() const { return m_text; }

private:
    QString m_text;
};

struct Entry {
    QString value;
    int line = 0;
};
struct Section {
    int line = 0;
    QHash<QString, Entry> keys; // lower-case names
};

QString decodeFile(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    bool ascii = true;
    for (char c : bytes) {
        if (uchar(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    return windows1252::decode(bytes);
}

// Reads values as the format says and collects the first fault.
class Reader {
public:
    explicit Reader(const QHash<QString, Section>& sections) : m_sections(sections) {}

    bool has(const QString& section) const { return m_sections.contains(section.toLower()); }
    int sectionLine(const QString& section) const {
        return m_sections.value(section.toLower()).line;
    }
    const Entry* entry(const QString& section, const QString& key) const {
        auto s = m_sections.constFind(section.toLower());
        if (s == m_sections.constEnd())
            return nullptr;
        auto e = s->keys.constFind(key.toLower());
        return e == s->keys.constEnd() ? nullptr : &e.value();
    }
    bool present(const QString& section, const QString& key) const {
        return entry(section, key) != nullptr;
    }
    QString text(const QString& section, const QString& key) {
        const Entry* e = entry(section, key);
        if (!e)
            return {};
        if (hasControlCharacter(e->value)) {
            fail(e->line, QStringLiteral("\"%1\" enthält ein Steuerzeichen.").arg(key));
            return {};
        }
        return e->value;
    }
    qint64 integer(const QString& section, const QString& key, qint64 min, qint64 max) {
        const Entry* e = entry(section, key);
        if (!e || e->value.isEmpty())
            return 0;
        static const QRegularExpression form(QStringLiteral("^[+-]?\\d{1,18}$"));
        if (!form.match(e->value).hasMatch())
            return fail(e->line,
                        QStringLiteral("\"%1\" ist keine ganze Zahl: %2").arg(key, e->value)),
                   0;
        const qint64 v = e->value.toLongLong();
        if (v < min || v > max)
            return fail(e->line, QStringLiteral("\"%1\" liegt außerhalb des erlaubten Bereichs: %2")
                                     .arg(key, e->value)),
                   0;
        return v;
    }
    double decimal(const QString& section, const QString& key, bool playingTime) {
        const Entry* e = entry(section, key);
        if (!e || e->value.isEmpty())
            return 0;
        static const QRegularExpression form(QStringLiteral("^[+-]?\\d{1,12}(\\.\\d*)?$"));
        if (!form.match(e->value).hasMatch())
            return fail(e->line, QStringLiteral("\"%1\" ist keine Zahl mit Dezimalpunkt: %2")
                                     .arg(key, e->value)),
                   0;
        const double v = e->value.toDouble();
        if (playingTime && !laufzeit::isValid(v))
            return fail(e->line, QStringLiteral("\"%1\" ist keine gültige Laufzeit (Sekunden "
                                                "von ,00 bis ,59): %2")
                                     .arg(key, e->value)),
                   0;
        return v;
    }
    QDate date(const QString& section, const QString& key) {
        const Entry* e = entry(section, key);
        if (!e || e->value.isEmpty())
            return {};
        const QDate d = germanformat::parseDate(e->value);
        if (!d.isValid())
            fail(e->line, QStringLiteral("\"%1\" ist kein gültiges Datum: %2").arg(key, e->value));
        return d;
    }
    void fail(int line, const QString& reason) {
        if (!m_failed) {
            m_failed = true;
            m_error = {line, reason};
        }
    }
    bool failed() const { return m_failed; }
    const ParseError& error() const { return m_error; }

private:
    const QHash<QString, Section>& m_sections;
    bool m_failed = false;
    ParseError m_error;
};

constexpr qint64 kInt32Min = std::numeric_limits<qint32>::min();
constexpr qint64 kInt32Max = std::numeric_limits<qint32>::max();
constexpr qint64 kShortMin = std::numeric_limits<qint16>::min();
constexpr qint64 kShortMax = std::numeric_limits<qint16>::max();
// Counts of a file a person could have written; more is a damaged file.
constexpr qint64 kMaxEntries = 100000;

QString songSection(int k) {
    return QStringLiteral("Lied %1").arg(k);
}

} // namespace

QString ParseError::text() const {
    return line > 0 ? QStringLiteral("Zeile %1: %2").arg(line).arg(reason) : reason;
}

QString withDefaultExtension(const QString& path) {
    const QFileInfo info(path);
    return info.suffix().isEmpty() && !info.fileName().isEmpty() ? path + QStringLiteral(".DKM")
                                                                 : path;
}

QString fileFilter() {
    return QStringLiteral("Diskarium (*.DKM *.dkm *.Dkm);;Alle Dateien (*)");
}

QStringList memoLines(const QString& memo) {
    QString m = memo;
    m.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (m.endsWith(QLatin1Char('\n')))
        m.chop(1);
    if (m.isEmpty())
        return {};
    return m.split(QLatin1Char('\n'));
}

QByteArray format(const Carrier& c) {
    Writer w;
    w.section(kCarrier);
    w.text(QStringLiteral("Text 1"), c.text1);
    w.text(QStringLiteral("Text 2"), c.text2);
    w.integer(QStringLiteral("Nummer"), c.numbering);
    w.text(QStringLiteral("Erscheinungsjahr"), c.year);
    w.integer(QStringLiteral("Anzahl der Lieder"), c.songCount);
    w.decimal(QStringLiteral("Laufzeit"), c.time);
    if (c.withPurchase) {
        w.decimal(QStringLiteral("Kaufpreis"), c.price);
        w.text(QStringLiteral("Währung"), c.currency);
        w.date(QStringLiteral("Kaufdatum"), c.purchaseDate);
    }
    w.integer(QStringLiteral("Bewertung"), c.rating);
    w.text(QStringLiteral("Tonträgerart"), c.type);
    w.text(QStringLiteral("Musikrichtung"), c.direction);
    w.text(QStringLiteral("Tonträgerstatus"), c.state);
    w.text(QStringLiteral("Pressung"), c.pressing);
    w.text(QStringLiteral("Zustand"), c.condition);
    w.text(QStringLiteral("Aufnahme"), c.recording);
    w.text(QStringLiteral("Hersteller"), c.company);
    w.text(QStringLiteral("Bestellcode"), c.orderCode);
    const bool text = c.hasText && !c.textLines.isEmpty();
    if (text) {
        w.section(kText);
        for (int i = 0; i < c.textLines.size(); ++i)
            w.text(QStringLiteral("Zeile %1").arg(i + 1), c.textLines[i]);
    }
    w.section(kInfo);
    w.integer(QStringLiteral("Text-Zeilen"), text ? c.textLines.size() : 0);
    w.integer(QStringLiteral("Liederanzahl"), qint64(c.songs.size()));
    for (size_t k = 0; k < c.songs.size(); ++k) {
        const Song& s = c.songs[k];
        w.section(songSection(int(k) + 1));
        w.integer(QStringLiteral("Seite"), s.side);
        w.integer(QStringLiteral("Nummer"), s.number);
        w.text(QStringLiteral("Titel"), s.title);
        w.text(QStringLiteral("Interpret"), s.interpret);
        w.decimal(QStringLiteral("Laufzeit"), s.time);
        w.text(QStringLiteral("Musikrichtung"), s.direction);
        w.integer(QStringLiteral("Zähler von"), s.counterFrom);
        w.integer(QStringLiteral("Zähler bis"), s.counterTo);
        w.integer(QStringLiteral("Bewertung"), s.rating);
        w.text(QStringLiteral("Erscheinungsjahr"), s.year);
        if (s.hasInfo) {
            w.integer(QStringLiteral("BPM von"), s.bpmFrom);
            w.integer(QStringLiteral("BPM bis"), s.bpmTo);
            w.text(QStringLiteral("Tanzstil"), s.danceStyle);
        }
    }
    return windows1252::encodeTextFile(w.result());
}

bool write(const QString& path, const Carrier& carrier, QString* error) {
    return atomicfile::write(path, format(carrier), error);
}

Parsed parse(const QByteArray& bytes) {
    QString content = decodeFile(bytes);
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = content.split(QLatin1Char('\n'));
    QHash<QString, Section> sections;
    Section* current = nullptr;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed().toLower();
            current = &sections[name];
            if (current->line == 0)
                current->line = i + 1;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!current || eq <= 0)
            continue;
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) &&
            value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        const QString key = line.left(eq).trimmed().toLower();
        if (!current->keys.contains(key))
            current->keys.insert(key, {value, i + 1});
    }

    Parsed result;
    Reader r(sections);
    Carrier& c = result.carrier;
    if (!r.has(kCarrier)) {
        result.error = {0, QStringLiteral("Der Abschnitt [Tonträger] fehlt.")};
        return result;
    }
    c.text1 = r.text(kCarrier, QStringLiteral("Text 1"));
    if (c.text1.isEmpty()) {
        const Entry* e = r.entry(kCarrier, QStringLiteral("Text 1"));
        result.error = {e ? e->line : r.sectionLine(kCarrier),
                        QStringLiteral("\"Text 1\" (Gruppe/Interpret) ist leer.")};
        return result;
    }
    c.text2 = r.text(kCarrier, QStringLiteral("Text 2"));
    c.numbering = r.integer(kCarrier, QStringLiteral("Nummer"), kInt32Min, kInt32Max);
    c.year = r.text(kCarrier, QStringLiteral("Erscheinungsjahr"));
    c.songCount = r.integer(kCarrier, QStringLiteral("Anzahl der Lieder"), 0, kInt32Max);
    c.time = r.decimal(kCarrier, QStringLiteral("Laufzeit"), true);
    c.withPurchase = r.present(kCarrier, QStringLiteral("Kaufpreis")) ||
                     r.present(kCarrier, QStringLiteral("Währung")) ||
                     r.present(kCarrier, QStringLiteral("Kaufdatum"));
    c.price = r.decimal(kCarrier, QStringLiteral("Kaufpreis"), false);
    c.purchaseDate = r.date(kCarrier, QStringLiteral("Kaufdatum"));
    c.rating = r.integer(kCarrier, QStringLiteral("Bewertung"), kInt32Min, kInt32Max);
    c.type = r.text(kCarrier, QStringLiteral("Tonträgerart"));
    c.direction = r.text(kCarrier, QStringLiteral("Musikrichtung"));
    c.state = r.text(kCarrier, QStringLiteral("Tonträgerstatus"));
    c.currency = r.text(kCarrier, QStringLiteral("Währung"));
    c.pressing = r.text(kCarrier, QStringLiteral("Pressung"));
    c.condition = r.text(kCarrier, QStringLiteral("Zustand"));
    c.recording = r.text(kCarrier, QStringLiteral("Aufnahme"));
    c.company = r.text(kCarrier, QStringLiteral("Hersteller"));
    c.orderCode = r.text(kCarrier, QStringLiteral("Bestellcode"));

    const qint64 textLines = r.integer(kInfo, QStringLiteral("Text-Zeilen"), 0, kMaxEntries);
    const qint64 songs = r.integer(kInfo, QStringLiteral("Liederanzahl"), 0, kMaxEntries);
    if (r.failed()) {
        result.error = r.error();
        return result;
    }
    c.hasText = textLines > 0;
    for (int i = 1; i <= textLines; ++i)
        c.textLines.append(r.text(kText, QStringLiteral("Zeile %1").arg(i)));

    QHash<QPair<qint64, qint64>, int> seen;
    for (int k = 1; k <= songs && !r.failed(); ++k) {
        const QString section = songSection(k);
        if (!r.has(section)) {
            const Entry* e = r.entry(kInfo, QStringLiteral("Liederanzahl"));
            r.fail(e ? e->line : 0, QStringLiteral("Der Abschnitt [%1] fehlt.").arg(section));
            break;
        }
        Song s;
        s.side = r.integer(section, QStringLiteral("Seite"), kInt32Min, kInt32Max);
        s.number = r.integer(section, QStringLiteral("Nummer"), kInt32Min, kInt32Max);
        s.title = r.text(section, QStringLiteral("Titel"));
        s.interpret = r.text(section, QStringLiteral("Interpret"));
        s.time = r.decimal(section, QStringLiteral("Laufzeit"), true);
        s.direction = r.text(section, QStringLiteral("Musikrichtung"));
        s.counterFrom = r.integer(section, QStringLiteral("Zähler von"), kInt32Min, kInt32Max);
        s.counterTo = r.integer(section, QStringLiteral("Zähler bis"), kInt32Min, kInt32Max);
        s.rating = r.integer(section, QStringLiteral("Bewertung"), kInt32Min, kInt32Max);
        s.year = r.text(section, QStringLiteral("Erscheinungsjahr"));
        s.hasInfo = true; // every imported song gets its information record
        s.bpmFrom = r.integer(section, QStringLiteral("BPM von"), kShortMin, kShortMax);
        s.bpmTo = r.integer(section, QStringLiteral("BPM bis"), kShortMin, kShortMax);
        s.danceStyle = r.text(section, QStringLiteral("Tanzstil"));
        const auto key = qMakePair(s.side, s.number);
        if (seen.contains(key)) {
            r.fail(r.sectionLine(section),
                   QStringLiteral("[%1] wiederholt Seite %2, Nummer %3 von [Lied %4].")
                       .arg(section)
                       .arg(s.side)
                       .arg(s.number)
                       .arg(seen.value(key)));
            break;
        }
        seen.insert(key, k);
        c.songs.push_back(std::move(s));
    }
    if (r.failed()) {
        result.error = r.error();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace carrierfile
