#include "statisticsreport.h"

#include "core/settings/settings.h"
#include "fontchoice.h"
#include "pageprinter.h"
#include "statistics.h"

#include <cmath>

namespace statisticsreport {

QString title(int kind) {
    switch (kind) {
    case statistics::MediaTypes:
        return QStringLiteral("WinDsKm - Tonträgerstatistik");
    case statistics::Directions:
        return QStringLiteral("WinDsKm - Musikrichtung-Statistik");
    case statistics::States:
        return QStringLiteral("WinDsKm - Status-Statistik");
    default:
        return QStringLiteral("WinDsKm - Erscheinungsdatum-Statistik");
    }
}

namespace {

QString joined(const QStringList& cells) {
    return cells.join(QLatin1Char('|'));
}

void setUp(TPagePrinter& p, int kind, const Options& options) {
    p.setMarginLeft(20);
    p.setMarginTop(20);
    p.setMarginBottom(10);
    QFont font(options.fontName);
    font.setPointSize(fontchoice::validSize(options.fontSize, 11));
    p.setFont(font);
    QFont bold = font;
    bold.setBold(true);
    p.setHeaderFont(bold);
    p.setFooterFont(bold);
    p.setTitle(title(kind));
    const double w = p.PrintAreaWidth() - p.MarginLeft() - p.MarginRight();
    const int b = int(std::lround(w / 3));
    const int c = int(std::lround(w / 12));
    p.setHeader(QStringLiteral("{$TITLE}   per {$DATE}|Seite {$PAGE}"));
    p.setHeaderFormat(QString::asprintf("<%3d|>%3d", 2 * b, b));
    p.setFooter(QString());
    p.setFooterFormat(QString());
    p.setTableFormat(QString::asprintf("<%3d|>%3d|>%3d|>%3d|>%3d", 3 * c, c, 3 * c, 3 * c, 2 * c));
}

} // namespace

ReportStatus print(TPagePrinter& printer, int kind, const std::vector<QStringList>& rows,
                   const QStringList& totals, const Options& options,
                   const ReportProgress& progress, const PageHandlerSetter& setPageHandler) {
    setPageHandler([](TPagePrinter& p) {
        p.WriteColumns(joined(statistics::titleRow()));
        p.NewLine();
        p.NewLine();
    });
    setUp(printer, kind, options);
    printer.StartDocument();
    for (const QStringList& row : rows) {
        printer.WriteColumns(joined(row));
        if (progress.pageStarted)
            progress.pageStarted(printer.PageNumber());
        if (progress.abortRequested && progress.abortRequested()) {
            printer.FinishDocument();
            return ReportStatus::Failed;
        }
    }
    printer.NewLine();
    const QFont normal = printer.Font();
    QFont bold = normal;
    bold.setBold(true);
    printer.setFont(bold);
    printer.WriteColumns(joined(totals));
    printer.setFont(normal);
    printer.FinishDocument();
    return ReportStatus::Composed;
}

ReportStatus compose(ReportContext& context) {
    if (context.arguments.size() != 1)
        return ReportStatus::BadArguments;
    bool ok = false;
    const int kind = context.arguments.front().toInt(&ok);
    if (!ok || !statistics::validKind(kind))
        return ReportStatus::BadArguments;
    const statistics::Table table = statistics::count(context.db, context.settings, kind);
    std::vector<QStringList> rows;
    for (const statistics::Row& row : table.rows)
        rows.push_back(statistics::displayRow(row, table.currency));
    Options options;
    options.fontName = context.options.fontName.isEmpty() ? context.settings.fontNameStat
                                                          : context.options.fontName;
    options.fontSize =
        context.options.fontSize > 0 ? context.options.fontSize : context.settings.fontSizeStat;
    TPagePrinter& printer = context.printer;
    return print(printer, kind, rows, statistics::totalRow(table), options, {},
                 [&printer](std::function<void(TPagePrinter&)> handler) {
                     printer.OnNewPage = std::move(handler);
                 });
}

} // namespace statisticsreport
