#include "templatestore.h"

#include "core/common/controlchars.h"
#include "core/db/recordaccess.h"

#include <cmath>
#include <stdexcept>

namespace templatestore {

QString withCrLf(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            out += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

namespace {
PrintTemplateRecord normalised(PrintTemplateRecord record) {
    record.kopfText = withCrLf(record.kopfText);
    record.seitenText = withCrLf(record.seitenText);
    record.fussText = withCrLf(record.fussText);
    return record;
}
} // namespace

QString refusal(const PrintTemplateRecord& record) {
    if (record.bezeichnung.size() > kMaxNameLength)
        return QStringLiteral("Die Bezeichnung ist länger als %1 Zeichen.").arg(kMaxNameLength);
    if (hasControlCharacter(record.bezeichnung))
        return QStringLiteral("Die Bezeichnung enthält ein Steuerzeichen.");
    const double margin = record.seitenrand.value_or(0);
    if (margin < 0 || margin > kMaxMargin || margin != std::floor(margin))
        return QStringLiteral("Der Seitenrand muss eine ganze Zahl von 0 bis %1 sein.")
            .arg(kMaxMargin);
    const std::pair<const QString*, const char*> parts[] = {{&record.kopfText, "Kopfzeile"},
                                                            {&record.seitenText, "Text"},
                                                            {&record.fussText, "Fußzeile"}};
    for (const auto& [text, label] : parts) {
        if (withCrLf(*text).size() > kMaxPartLength)
            return QStringLiteral("Der Teil \"%1\" ist länger als %2 Zeichen.")
                .arg(QString::fromUtf8(label))
                .arg(kMaxPartLength);
    }
    return {};
}

std::vector<PrintTemplateRecord> byType(Database& db, int type) {
    std::vector<PrintTemplateRecord> rows = records::select<PrintTemplateRecord>(
        db, u"WHERE \"Type\" = ?1 ORDER BY \"Bezeichnung\" COLLATE GERMAN, \"Index-Nummer\"",
        {type});
    for (PrintTemplateRecord& row : rows)
        row = normalised(std::move(row));
    return rows;
}

std::optional<PrintTemplateRecord> load(Database& db, int type, int index) {
    PrintTemplateRecord key;
    key.type = type;
    key.indexNummer = index;
    std::optional<PrintTemplateRecord> found = records::find(db, key);
    if (found)
        found = normalised(std::move(*found));
    return found;
}

std::optional<PrintTemplateRecord> find(Database& db, int type, const QString& nameOrNumber) {
    bool isNumber = false;
    const int number = nameOrNumber.trimmed().toInt(&isNumber);
    if (isNumber) {
        if (auto found = load(db, type, number))
            return found;
    }
    for (PrintTemplateRecord& row : byType(db, type)) {
        if (row.bezeichnung == nameOrNumber)
            return std::move(row);
    }
    return std::nullopt;
}

PrintTemplateRecord save(Database& db, PrintTemplateRecord record) {
    record = normalised(std::move(record));
    if (const QString reason = refusal(record); !reason.isEmpty())
        throw std::invalid_argument(reason.toStdString());
    if (!record.seitenrand)
        record.seitenrand = 0;
    const schema::Table& table = records::tableOf<PrintTemplateRecord>();
    Transaction transaction(db); // the number and the insert belong together
    if (record.indexNummer <= 0) {
        record.indexNummer =
            records::nextKey(db, table, u"Index-Nummer", u"\"Type\" = ?1", {record.type});
        records::insert(db, record);
    } else if (records::update(db, record, record) == 0) {
        records::insert(db, record);
    }
    db.notifier().announce(Change::Templates);
    transaction.commit();
    return record;
}

bool remove(Database& db, int type, int index) {
    PrintTemplateRecord key;
    key.type = type;
    key.indexNummer = index;
    const bool removed = records::remove(db, key) > 0;
    if (removed)
        db.notifier().announce(Change::Templates);
    return removed;
}

} // namespace templatestore

namespace templatestore {
std::optional<PrintTemplateRecord> choose(Database& db, int type, const QString& choice) {
    if (!choice.isEmpty())
        return find(db, type, choice);
    std::vector<PrintTemplateRecord> rows = records::select<PrintTemplateRecord>(
        db, u"WHERE \"Type\" = ?1 ORDER BY \"Index-Nummer\" LIMIT 1", {type});
    if (rows.empty())
        return std::nullopt;
    return load(db, type, qRound(rows.front().indexNummer));
}
} // namespace templatestore
