#pragma once

#include "core/db/database.h"

#include <QString>
#include <vector>

// A carrier named on the command line: "ART:NUMMER" (media type short name in any letter
// case and "Nummerierung", such as LP:17) or "#N" (the carrier number).
namespace carrierkey {

struct Match {
    int number = 0; // "Folgenummer Kopf"
    QString group;
    QString title;
    // "#N Gruppe / Titel"
    QString describe() const;
};

struct Result {
    std::vector<Match> matches; // exactly one when the key names a carrier
    QString error;              // German text when the key is malformed, unknown or ambiguous
    bool ok() const { return error.isEmpty() && matches.size() == 1; }
    const Match& carrier() const { return matches.front(); }
};

// Throws DbError on a database failure.
Result resolve(Database& db, const QString& key);

// The key a carrier is shown with: "LP:17", or "#N" when its media type is unknown.
QString keyOf(Database& db, int carrierNumber);

} // namespace carrierkey
