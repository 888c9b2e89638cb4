#pragma once

#include <QStringList>

// diskarium-tool discid / cddb: a CD or disc image identified and looked up.
int runDiscIdCommand(const QStringList& args);
int runCddbCommand(const QStringList& args);
