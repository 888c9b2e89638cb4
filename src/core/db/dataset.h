#pragma once

#include "database.h"

#include <QString>

// The data set of a data directory: the database file with every table, its indexes and
// the data delivered with the program.
namespace dataset {

QString databasePath(const QString& dataDirectory);
bool exists(const QString& dataDirectory);

// Creates every table and index in an empty database.
void createSchema(Database& db);
// Whether the database holds the table (names compared without letter case).
bool hasTable(Database& db, const QString& table);
// Creates the added tables an older data set lacks, with their indexes; nothing when all are
// there. Inside the caller's transaction when one is open. Throws DbError.
void addMissingTables(Database& db);
// Fills the tables with the delivered lookups, currencies, templates, labels and tips.
void loadDeliveredData(Database& db);

// Creates the delivered data set in the directory. Built in a temporary file and moved
// into place only when complete; refuses when a database is there already. Throws DbError.
void create(const QString& dataDirectory);

// Copies the delivered text files (read-me, licence, version history, CDDB server list)
// into the directory where they are missing. Existing files are left as the user has them.
void installDeliveredFiles(const QString& dataDirectory);

} // namespace dataset
