#pragma once

#include <QStringList>

// diskarium-tool add-cd: stores a new carrier from disc images or drives, as the entry
// window's first save does.
int runAddCdCommand(const QStringList& args);
// diskarium-tool show: a carrier with everything it has.
int runShowCommand(const QStringList& args);
