#pragma once

#include <QStringList>

// diskarium-tool labels: the names of the carrier and song fields.
int runLabelsCommand(const QStringList& args);
