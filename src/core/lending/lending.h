#pragma once

#include "core/db/database.h"
#include "core/db/records.h"

#include <QDateTime>
#include <QString>
#include <optional>

// Lending a carrier and taking it back: each one transaction over "MUSIKKOP" and "MUSIKVER"
// that reads the carrier afresh, so a stale list row can neither lend twice nor take back
// what is no longer lent. The moment comes from the caller (the clock is injected).
namespace lending {

inline const QString kAlreadyLent =
    QStringLiteral("Dieser Tonträger ist bereits verliehen und kann jetzt aus diesem Grund nicht "
                   "ein weiteres Mal verliehen werden.");
inline const QString kNotLent =
    QStringLiteral("Dieser Tonträger wurde nicht verliehen und kann aus diesem Grund auch nicht "
                   "als zurückerhalten markiert werden.");
inline const QString kNoOpenLending =
    QStringLiteral("Der Tonträger ist als verliehen markiert, aber es gibt keinen offenen "
                   "Verleiheintrag zu ihm. Es wurde nichts geändert.");
inline const QString kCarrierGone = QStringLiteral("Der Tonträger ist nicht mehr vorhanden.");
inline const QString kBorrowerGone = QStringLiteral("Der Leiher ist nicht mehr vorhanden.");
inline constexpr int kAlreadyLentHelp = 31007;
inline constexpr int kNotLentHelp = 31008;

struct Outcome {
    enum Status { Done, AlreadyLent, NotLent, NoOpenLending, CarrierGone, BorrowerGone, Failed };
    Status status = Failed;
    QString message;      // German; empty when done
    int helpContext = 0;  // of the message
    LendingRecord record; // the lending as stored (or as it was before a deletion)
    bool ok() const { return status == Done; }
};

// The carrier's "Status", or nothing when the carrier does not exist; an empty field is 0.
std::optional<double> carrierStatus(Database& db, int carrierNumber);
std::optional<LendingRecord> openLending(Database& db, int carrierNumber);

// Stores a lending numbered by the packed moment (lowered while any lending of the carrier,
// of either state, holds the number) and marks the carrier lent (-1).
Outcome lend(Database& db, int carrierNumber, int borrowerNumber, const QDateTime& now);

// Restores the carrier's old status and turns its open lending into a returned one dated
// today, or deletes it when directDelete ("Direct Delete Lended") is on.
Outcome takeBack(Database& db, int carrierNumber, const QDate& today, bool directDelete);

// Deletes a returned lending, found by carrier and number (lendings of the same two seconds
// share a number). False when it is gone or still open.
bool removeReturned(Database& db, int carrierNumber, qint32 number);

} // namespace lending
