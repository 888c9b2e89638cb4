#pragma once

#include "core/db/database.h"

#include <QString>
#include <optional>

// Deleting a carrier with everything that refers to it: songs, song information, lending
// records, disc check codes, pictures, free text, information record and the carrier
// itself, in one transaction. Throws DbError; then nothing is deleted.
namespace carrierdelete {

void deleteCarrier(Database& db, double carrierNumber);

// "Gruppe / Titel" of a carrier, or nothing when it no longer exists.
std::optional<QString> describe(Database& db, double carrierNumber);

} // namespace carrierdelete
