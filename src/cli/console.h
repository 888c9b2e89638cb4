#pragma once

#include <QTextStream>

class Database;

// Standard output and error of the tool, as text streams.
QTextStream& out();
QTextStream& err();

// Opens the data set of a directory; false after a German message on standard error when
// the directory holds none or its database cannot be opened.
bool openDataSet(const QString& directory, Database& db);
