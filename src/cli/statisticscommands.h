#pragma once

#include <QStringList>

// diskarium-tool statistics: the statistics window's table as text.
int runStatisticsCommand(const QStringList& args);
