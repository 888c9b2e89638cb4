#include "lending.h"

#include "core/common/packeddatetime.h"
#include "core/db/recordaccess.h"

#include <cmath>

namespace lending {

namespace {

Outcome refused(Outcome::Status status, const QString& message, int help = 0) {
    Outcome o;
    o.status = status;
    o.message = message;
    o.helpContext = help;
    return o;
}

Outcome failed(const QString& what, const DbError& e) {
    return refused(Outcome::Failed, what + QLatin1Char('\n') + e.message());
}

void setCarrierStatus(Database& db, int carrierNumber, const std::optional<double>& status) {
    Statement s =
        db.prepare(u"UPDATE \"MUSIKKOP\" SET \"Status\" = ?1 WHERE \"Folgenummer Kopf\" = ?2");
    s.bind(1, status);
    s.bind(2, carrierNumber);
    s.run();
    db.notifier().announce(Change::Lendings, carrierNumber);
}

bool numberTaken(Database& db, int carrierNumber, qint32 number) {
    Statement s = db.prepare(u"SELECT 1 FROM \"MUSIKVER\" WHERE \"Tonträgernummer\" = ?1 AND "
                             u"\"Folgenummer\" = ?2 LIMIT 1");
    s.bind(1, carrierNumber);
    s.bind(2, qint64(number));
    return s.next();
}

} // namespace

std::optional<double> carrierStatus(Database& db, int carrierNumber) {
    Statement s =
        db.prepare(u"SELECT \"Status\" FROM \"MUSIKKOP\" WHERE \"Folgenummer Kopf\" = ?1");
    s.bind(1, carrierNumber);
    if (!s.next())
        return std::nullopt;
    return s.isNull(0) ? 0.0 : s.toDouble(0);
}

std::optional<LendingRecord> openLending(Database& db, int carrierNumber) {
    std::vector<LendingRecord> rows = records::select<LendingRecord>(
        db, u"WHERE \"Tonträgernummer\" = ?1 AND \"Verleihstatus\" = 1 ORDER BY \"Folgenummer\"",
        {carrierNumber});
    if (rows.empty())
        return std::nullopt;
    return rows.front();
}

Outcome lend(Database& db, int carrierNumber, int borrowerNumber, const QDateTime& now) {
    const QString what = QStringLiteral("Der Tonträger konnte nicht verliehen werden!");
    try {
        Transaction transaction(db);
        Statement carrier =
            db.prepare(u"SELECT \"Status\" FROM \"MUSIKKOP\" WHERE \"Folgenummer Kopf\" = ?1");
        carrier.bind(1, carrierNumber);
        if (!carrier.next())
            return refused(Outcome::CarrierGone, kCarrierGone);
        const std::optional<double> oldStatus =
            carrier.isNull(0) ? std::nullopt : std::optional<double>(carrier.toDouble(0));
        if (oldStatus == -1.0 || openLending(db, carrierNumber))
            return refused(Outcome::AlreadyLent, kAlreadyLent, kAlreadyLentHelp);
        BorrowerRecord borrowerKey;
        borrowerKey.folgenummer = borrowerNumber;
        if (!records::find(db, borrowerKey))
            return refused(Outcome::BorrowerGone, kBorrowerGone);

        LendingRecord r;
        r.tontraegernummer = carrierNumber;
        r.verleihstatus = 1;
        r.verliehenAn = borrowerNumber;
        r.verliehenAm = now.date();
        r.statusAlt = oldStatus;
        qint32 number = packeddatetime::pack(now);
        // A number the carrier's lendings already hold, returned ones included, would clash
        // on the key when this lending is returned; other errors end the retry.
        for (;;) {
            while (numberTaken(db, carrierNumber, number))
                --number;
            r.folgenummer = number;
            try {
                records::insert(db, r);
                break;
            } catch (const DbError& e) {
                if (!e.isKeyViolation())
                    throw;
                --number;
            }
        }
        setCarrierStatus(db, carrierNumber, -1.0);
        transaction.commit();
        Outcome o;
        o.status = Outcome::Done;
        o.record = r;
        return o;
    } catch (const DbError& e) {
        return failed(what, e);
    }
}

Outcome takeBack(Database& db, int carrierNumber, const QDate& today, bool directDelete) {
    const QString what = QStringLiteral("Die Rückgabe konnte nicht gespeichert werden!");
    try {
        Transaction transaction(db);
        const std::optional<double> status = carrierStatus(db, carrierNumber);
        if (!status)
            return refused(Outcome::CarrierGone, kCarrierGone);
        if (*status != -1.0)
            return refused(Outcome::NotLent, kNotLent, kNotLentHelp);
        const std::optional<LendingRecord> open = openLending(db, carrierNumber);
        if (!open)
            return refused(Outcome::NoOpenLending, kNoOpenLending);
        setCarrierStatus(db, carrierNumber, open->statusAlt);
        LendingRecord returned = *open;
        if (directDelete) {
            records::remove(db, *open);
        } else {
            returned.verleihstatus = 0;
            returned.zurueckAm = today;
            records::update(db, *open, returned);
        }
        transaction.commit();
        Outcome o;
        o.status = Outcome::Done;
        o.record = returned;
        return o;
    } catch (const DbError& e) {
        return failed(what, e);
    }
}

bool removeReturned(Database& db, int carrierNumber, qint32 number) {
    LendingRecord key;
    key.tontraegernummer = carrierNumber;
    key.verleihstatus = 0;
    key.folgenummer = number;
    const bool removed = records::remove(db, key) > 0;
    if (removed)
        db.notifier().announce(Change::Lendings, carrierNumber);
    return removed;
}

} // namespace lending
