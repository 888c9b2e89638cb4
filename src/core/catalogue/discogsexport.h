#pragma once

#include <QString>
#include <functional>

class Database;

// Writing the whole collection as a Discogs collection CSV: UTF-8 without a byte order
// mark, ',' between fields, CR LF after each row, the carriers by carrier number under
// the column titles Discogs uses. The rows stream through a temporary file that takes the
// target's name only when everything was written.
namespace discogs {

// Called every few hundred rows with the rows written and the total; false cancels.
using ExportProgress = std::function<bool(qint64 done, qint64 total)>;

struct ExportOutcome {
    bool ok = false;
    bool cancelled = false;
    QString error;   // German
    qint64 rows = 0; // carriers written
};

// The SELECT the export reads its carriers with (benchmarks run it in the sqlite3 shell).
const QString& exportSelect();

// Replaces an existing file at path; asking first is the caller's business.
ExportOutcome exportCollection(Database& db, const QString& path,
                               const ExportProgress& progress = {});

} // namespace discogs
