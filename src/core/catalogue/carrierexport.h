#pragma once

#include "carrierfile.h"
#include "core/db/database.h"

#include <optional>

// Reads a carrier with its free text and songs for the carrier file. Lookup numbers without
// a row give empty short names. Throws DbError.
namespace carrierexport {

std::optional<carrierfile::Carrier> read(Database& db, double carrierNumber, bool withPurchase);

// Reads and writes in one go; false with a German text when the carrier is gone or the
// file cannot be written.
bool exportToFile(Database& db, double carrierNumber, bool withPurchase, const QString& path,
                  QString* error);

} // namespace carrierexport
