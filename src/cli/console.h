#pragma once

#include "core/settings/settings.h"

#include <QTextStream>
#include <functional>

class Database;
class DataDirectoryLock;
class QIODevice;

// Standard output and error of the tool, as text streams.
QTextStream& out();
QTextStream& err();

// "Fehler: message" on standard error; returns the exit status 1.
int fail(const QString& message);
// A value of a tab-separated line, its own tabs and line breaks made blanks: they would split
// the line's columns.
QString tabCell(QString text);
// Cells joined by tabs, as the tool's lists print them.
QString tabRow(const QStringList& cells);

// Opens the data set of a directory; false after a German message on standard error when
// the directory holds none or its database cannot be opened.
bool openDataSet(const QString& directory, Database& db);
// The same for a command that changes data beside a running program: lock (a Writer lock on
// the directory) keeps a restore or a rebuild away until it is released.
bool openDataSetForWriting(const QString& directory, DataDirectoryLock& lock, Database& db);

// The settings of a data directory, read only (defaults where the file is missing).
Settings dataSetSettings(const QString& directory);

// Hands standard output, as a byte device, to write (CSV files go out byte for byte).
// Returns 0, or 1 after a German message when the output refused or write threw DbError.
int writeToStandardOutput(const std::function<bool(QIODevice*)>& write);
