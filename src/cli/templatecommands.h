#pragma once

#include <QStringList>

// diskarium-tool template list / export / import: print templates and their "*.DKMT"
// exchange files without a window.
int runTemplateCommand(const QStringList& args);
