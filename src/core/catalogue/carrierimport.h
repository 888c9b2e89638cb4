#pragma once

#include "carrierfile.h"
#include "core/db/database.h"

#include <QString>

// Importing carrier files: each file becomes a new carrier in one transaction; a fault
// stores nothing, lookup rows included.
namespace carrierimport {

struct Outcome {
    bool ok = false;
    int number = 0; // the new carrier's "Folgenummer Kopf"
    QString group;
    QString title;
    QString message; // the German error text when not ok
    QString note;    // what was stored other than the file says, for the user
};

// Stores the carrier as a new one: the next carrier number, "Nummerierung" raised until
// the carrier key is free, lookups found by short name or added. A carrier without a
// currency gets newCurrency (the setting [Currency] "New"). A carrier exported while lent
// comes without its lending: it is stored as "Vorhanden", and note says so. Throws DbError.
int store(Database& db, const carrierfile::Carrier& carrier, int newCurrency,
          QString* note = nullptr);

// Reads and stores one file; the message names the file and, where one applies, the line.
Outcome importFile(Database& db, const QString& path, int newCurrency);

} // namespace carrierimport
