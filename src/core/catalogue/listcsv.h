#pragma once

#include "core/common/csvwriter.h"
#include "medialist.h"
#include "songlist.h"

#include <QStringList>

class Database;
class QIODevice;

// The carrier list ("Tonträger bearbeiten" and found carriers) and the song list (found
// songs) as their windows show them, for CSV files.
namespace listcsv {

// The column titles of the window: the user's field labels replace the delivered titles
// when useRenamed (the window's setting) is on.
QStringList carrierTitles(Database& db, bool useRenamed);
QStringList songTitles(Database& db, bool useRenamed);

// Writes the titles and every row of the query as CSV to the device, in one pass over the
// rows (nothing is kept). False when the device refused or progress cancelled. Throws
// DbError.
bool write(Database& db, const medialist::Query& query, const QStringList& titles,
           QIODevice* device, const csv::Progress& progress = {});
bool write(Database& db, const songlist::Query& query, const QStringList& titles, QIODevice* device,
           const csv::Progress& progress = {});

} // namespace listcsv
