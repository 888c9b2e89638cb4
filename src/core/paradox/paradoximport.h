#pragma once

#include "core/common/messageservice.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// Takes over a data set kept as Paradox tables: every table of the schema from its .DB file
// (and .MB file) in a source folder, plus the settings file and the server list. All or
// nothing: the new database is built and checked in a folder beside the data, and replaces
// the present files only when complete.
namespace paradoximport {

constexpr auto kReportFileName = "Übernahme.txt";

// Called while tables are read: the table's file name and its records read so far; false
// cancels the import.
using Progress = std::function<bool(const QString& fileName, qint64 records)>;

struct Count {
    QString label;     // "Tonträger"
    qint64 source = 0; // records in the source files
    qint64 result = 0; // records in the new data set
};

struct Result {
    bool ok = false;
    bool cancelled = false;
    bool inUse = false; // another process holds the data directory
    QString failure;    // German reason when neither ok nor cancelled
    std::vector<Count> counts;
    QStringList notes;  // unknown fields, skipped duplicates, code page fallbacks
    QStringList damage; // what makes the source unsound: "MUSIKPOS.DB, Datensatz 3: ..."
    QString reportPath; // "Übernahme.txt" beside the data when written
};

// The file of the source folder for a name, whatever its letter case; empty when absent.
QString findSourceFile(const QString& sourceDirectory, const QString& fileName);

// The first table or memo file the source folder lacks, in the order of the start-up
// check; empty when all are there.
QString firstMissingFile(const QString& sourceDirectory);

// The number of carriers of the data set in the directory; 0 when there is none.
qint64 presentCarriers(const QString& dataDirectory);

// Questions of the format conversion go to messages, as at the start of the program.
Result importDataSet(const QString& sourceDirectory, const QString& dataDirectory,
                     MessageService& messages, const Progress& progress = {});

// The counts as a German table in two columns: source and result.
QString summary(const Result& result);

} // namespace paradoximport
