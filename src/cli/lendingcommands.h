#pragma once

#include <QStringList>

// diskarium-tool lend / return / history: lending carriers from the command line.
int runLendCommand(const QStringList& args);
int runReturnCommand(const QStringList& args);
int runHistoryCommand(const QStringList& args);
