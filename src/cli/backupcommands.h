#pragma once

#include <QStringList>

// diskarium-tool backup / restore / list: the data directory's backup without a window,
// for example nightly from cron.
int runBackupCommand(const QStringList& args);
int runRestoreCommand(const QStringList& args);
int runListCommand(const QStringList& args);
