#include "borrowers.h"

#include "core/db/recordaccess.h"

#include <stdexcept>

namespace borrowers {

const std::vector<TextField>& textFields() {
    static const std::vector<TextField> fields = [] {
        const schema::Table& t = records::tableOf<BorrowerRecord>();
        auto width = [&t](const char* name) {
            return t.fields[size_t(t.fieldIndex(QString::fromUtf8(name)))].size;
        };
        return std::vector<TextField>{
            {"Name 1", &BorrowerRecord::name1, width("Name 1")},
            {"Name 2", &BorrowerRecord::name2, width("Name 2")},
            {"Straße", &BorrowerRecord::strasse, width("Straße")},
            {"Postfach", &BorrowerRecord::postfach, width("Postfach")},
            {"Postleitzahl", &BorrowerRecord::postleitzahl, width("Postleitzahl")},
            {"Ort", &BorrowerRecord::ort, width("Ort")},
            {"Land", &BorrowerRecord::land, width("Land")},
            {"Telefon", &BorrowerRecord::telefon, width("Telefon")},
        };
    }();
    return fields;
}

std::vector<BorrowerRecord> all(Database& db) {
    return records::select<BorrowerRecord>(
        db, u"ORDER BY \"Name 1\" COLLATE GERMAN, \"Name 2\" COLLATE GERMAN, \"Folgenummer\"");
}

std::optional<BorrowerRecord> find(Database& db, int number) {
    BorrowerRecord key;
    key.folgenummer = number;
    return records::find(db, key);
}

bool any(Database& db) {
    return records::hasRows(db, records::tableOf<BorrowerRecord>());
}

QString refusal(const BorrowerRecord& record) {
    return record.name1.isEmpty() ? kNameMissing : QString();
}

BorrowerRecord save(Database& db, BorrowerRecord record) {
    if (const QString why = refusal(record); !why.isEmpty())
        throw std::invalid_argument(why.toStdString());
    for (const TextField& f : textFields())
        (record.*f.member).truncate(f.width);
    Transaction transaction(db);
    if (record.folgenummer == 0) {
        record.folgenummer =
            records::nextKey(db, records::tableOf<BorrowerRecord>(), u"Folgenummer");
        records::insert(db, record);
    } else if (records::update(db, record, record) == 0) {
        records::insert(db, record); // deleted meanwhile: stored again under its number
    }
    db.notifier().announce(Change::Borrowers);
    transaction.commit();
    return record;
}

namespace {

bool exists(Database& db, QStringView sql, int number) {
    Statement s = db.prepare(sql);
    s.bind(1, number);
    return s.next();
}

} // namespace

bool hasLendings(Database& db, int number) {
    return exists(db, u"SELECT 1 FROM \"MUSIKVER\" WHERE \"Verliehen an\" = ?1 LIMIT 1", number);
}

bool hasOpenLendings(Database& db, int number) {
    return exists(
        db,
        u"SELECT 1 FROM \"MUSIKVER\" WHERE \"Verliehen an\" = ?1 AND \"Verleihstatus\" = 1 LIMIT 1",
        number);
}

RemoveResult remove(Database& db, int number) {
    Transaction transaction(db);
    if (hasOpenLendings(db, number))
        return RemoveResult::HasOpenLendings;
    Statement lendings = db.prepare(
        u"DELETE FROM \"MUSIKVER\" WHERE \"Verliehen an\" = ?1 AND \"Verleihstatus\" = 0");
    lendings.bind(1, number);
    lendings.run();
    Statement borrower = db.prepare(u"DELETE FROM \"VERSTAMM\" WHERE \"Folgenummer\" = ?1");
    borrower.bind(1, number);
    borrower.run();
    const bool removed = db.changes() > 0;
    db.notifier().announce(Change::Borrowers);
    db.notifier().announce(Change::Lendings);
    transaction.commit();
    return removed ? RemoveResult::Removed : RemoveResult::Gone;
}

Match resolve(Database& db, const QString& key) {
    Match m;
    if (key.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const int number = key.mid(1).toInt(&ok);
        if (ok)
            if (std::optional<BorrowerRecord> b = find(db, number))
                m.matches.push_back(*b);
        if (m.matches.empty())
            m.error = QStringLiteral("Einen Leiher \"%1\" gibt es nicht.").arg(key);
        return m;
    }
    m.matches = records::select<BorrowerRecord>(
        db, u"WHERE \"Name 1\" = ?1 ORDER BY \"Folgenummer\"", {key});
    if (m.matches.empty()) {
        m.error = QStringLiteral("Einen Leiher \"%1\" gibt es nicht.").arg(key);
    } else if (m.matches.size() > 1) {
        m.error = QStringLiteral("Mehrere Leiher heißen \"%1\":").arg(key);
        for (const BorrowerRecord& b : m.matches)
            m.error += QStringLiteral("\n#%1 %2").arg(qRound(b.folgenummer)).arg(b.name1);
    }
    return m;
}

} // namespace borrowers
