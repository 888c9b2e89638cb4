#pragma once

#include "core/common/csvwriter.h"
#include "medialist.h"

#include <QStringList>

class Database;
class QIODevice;

// The carrier list as the window "Tonträger bearbeiten" shows it, for CSV files.
namespace medialistcsv {

// The column titles of the window: the user's field labels replace the delivered titles
// when useRenamed (the setting of the media list) is on.
QStringList columnTitles(Database& db, bool useRenamed);

// Writes the titles and every row of the query as CSV to the device, in one pass over the
// rows (nothing is kept). False when the device refused or progress cancelled. Throws
// DbError.
bool write(Database& db, const medialist::Query& query, const QStringList& titles,
           QIODevice* device, const csv::Progress& progress = {});

} // namespace medialistcsv
