#pragma once

#include <QStringList>

// diskarium-tool print DIR REPORT [ARGS] [--template NAME|NUMBER] [--font NAME] [--size N]
// --pdf OUT: a report's pages for the built-in PDF printer, without a window.
int runPrintCommand(const QStringList& args);
// The usage lines of every registered report.
QString printUsage();
