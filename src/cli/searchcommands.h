#pragma once

#include <QStringList>

// diskarium-tool search: the carrier and song searches without a window.
int runSearchCommand(const QStringList& args);
