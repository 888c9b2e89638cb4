#pragma once

#include "reportrun.h"
#include "templatereport.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class TPagePrinter;

// The statistics table on paper: a header line with title, date and page, the column titles
// at the top of every page, one line per group and the bold totals line.
namespace statisticsreport {

// "WinDsKm - Tonträgerstatistik" ... by kind.
QString title(int kind);

struct Options {
    QString fontName = QStringLiteral("Arial");
    int fontSize = 11;
};

// Installs the routine that runs at the start of every page (the preview window's handler in
// the program, the engine's own in the tool); null removes it.
using PageHandlerSetter = std::function<void(std::function<void(TPagePrinter&)>)>;

// rows: label, count, time, value, songs of every group; totals: the "Gesamt" row. The
// document is finished on return; Failed after an abort.
ReportStatus print(TPagePrinter& printer, int kind, const std::vector<QStringList>& rows,
                   const QStringList& totals, const Options& options,
                   const ReportProgress& progress, const PageHandlerSetter& setPageHandler);

// `diskarium-tool print DIR statistics KIND`.
ReportStatus compose(ReportContext& context);

} // namespace statisticsreport
