#pragma once

#include "core/printing/reportrun.h"

#include <QString>
#include <functional>

class Database;
class TPagePrinter;

// The printed list of a lookup table or of the currencies: a title line on every page, then
// one row per entry in key order.
namespace lookuplist {

// Called after each row with the page being written; false stops the list.
using RowCallback = std::function<bool(int page)>;

enum class Outcome { Completed, Stopped };

// Resets the engine to the preview's set-up and composes the whole document (it is finished
// in both outcomes). kind: 0..7 or lookup::kCurrencies.
Outcome compose(TPagePrinter& printer, Database& db, int kind, const QString& fontName,
                int fontSize, const RowCallback& afterRow = {});

// Column widths: W / 2 for the title line, W / 4 (or W / 5 for the currencies) as the unit
// of the table, each rounded half to even.
int roundedWidth(double width);

// The report "lookup TABLE" of diskarium-tool print; the font comes from [Helpdatabases]
// unless the options name one.
ReportStatus composeReport(ReportContext& context);

} // namespace lookuplist
