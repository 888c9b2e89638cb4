#pragma once

#include <QStringList>

// diskarium-tool import-paradox QUELLE VERZEICHNIS [--yes]
int runImportParadoxCommand(const QStringList& args);
