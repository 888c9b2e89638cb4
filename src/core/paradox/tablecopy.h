#pragma once

#include "core/db/schema.h"

#include <QStringList>
#include <functional>

class Database;

// Copies one Paradox table file with its memo file into a table of the database, matching
// fields by name. The target table must exist with the given fields.
namespace paradox {

struct TableCopy {
    qint64 read = 0;       // records in the source
    qint64 duplicates = 0; // records skipped because their key was taken already
    QStringList notes;     // German lines for the report: unknown fields, duplicates
    QString failure;       // German reason; empty on success
    bool cancelled = false;
};

// Called every few hundred records with the records read so far; false cancels.
using CopyProgress = std::function<bool(qint64 records)>;

// The source file and its memo file (empty when absent) are paths; fields is the layout the
// target table has (the schema's, or the first fields of an older layout).
TableCopy copyTable(Database& db, const schema::Table& table, int fieldCount,
                    const QString& sourcePath, const QString& memoPath,
                    const CopyProgress& progress = {});

// The number of fields the table file declares, or -1 when it cannot be read.
int declaredFieldCount(const QString& sourcePath);

} // namespace paradox
