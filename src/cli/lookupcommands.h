#pragma once

#include <QStringList>

// diskarium-tool lookup / convert: the entries of a lookup table or of the currencies, and a
// purchase price in the current currency.
int runLookupCommand(const QStringList& args);
int runConvertCommand(const QStringList& args);
