#pragma once

#include <QStringList>

// diskarium-tool import / export / carriers: carrier files and the carrier list.
int runImportCommand(const QStringList& args);
int runExportCommand(const QStringList& args);
int runCarriersCommand(const QStringList& args);
