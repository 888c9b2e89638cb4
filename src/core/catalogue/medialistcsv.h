#pragma once

#include "medialist.h"

#include <QStringList>

class Database;
class QIODevice;

// The carrier list as the window "Tonträger bearbeiten" shows it, for CSV files.
namespace medialistcsv {

// The column titles of the window: the user's field labels replace the delivered titles
// when useRenamed (the setting of the media list) is on.
QStringList columnTitles(Database& db, bool useRenamed);

// Writes the titles and every row of the query, page by page, as CSV to the device.
// False when the device refused. Throws DbError.
bool write(const medialist::Query& query, const QStringList& titles, QIODevice* device);

} // namespace medialistcsv
