#include "lendinglistreport.h"

#include "borrowers.h"
#include "core/common/messageservice.h"
#include "core/db/recordaccess.h"
#include "core/printing/fontchoice.h"
#include "core/printing/pageprinter.h"
#include "core/printing/printercheck.h"
#include "core/settings/settings.h"
#include "lendingnames.h"

namespace lendinglistreport {

bool checkOverview(Database& db, MessageService& messages, int borrower) {
    if (borrowers::hasLendings(db, borrower))
        return true;
    messages.information(kNoData, kNoDataHelp);
    return false;
}

bool checkList(Database& db, MessageService& messages, int borrower) {
    const bool data = borrower < 0 ? records::hasRows(db, records::tableOf<LendingRecord>())
                                   : borrowers::hasLendings(db, borrower);
    if (!data) {
        messages.information(kNoData, kNoDataHelp);
        return false;
    }
    return printercheck::templatesPresent(db, messages, 4, kNoTemplates, kNoTemplatesHelp);
}

ReportStatus print(TPagePrinter& printer, Database& db, MessageService& messages,
                   const Options& options, int borrower, const ReportProgress& progress) {
    lendingqueries::ListCursor cursor(db, borrower, options.selection);
    std::optional<lendingqueries::ListRow> row = cursor.next();
    if (!row) {
        messages.information(kNoData, kNoDataHelp);
        return ReportStatus::Failed;
    }
    std::optional<TemplateParts> parts = TemplateParts::load(options.templ, messages);
    if (!parts)
        return ReportStatus::Failed;
    const ReportLookups lookups = ReportLookups::read(db);
    LendingNames names(lookups);
    // Head and foot name the row about to be printed, the final foot the last row.
    lendingqueries::ListRow current = std::move(*row);
    names.set(&current.lending, &current.borrower, &current.carrier);
    TemplateReport report(printer, std::move(*parts), progress);
    report.setNames({&names});
    QFont font(options.fontName);
    font.setPointSize(fontchoice::validSize(options.fontSize, 11));
    report.start(kTitle, font);
    const int blockLines = report.parts().pageLines + report.parts().footLines;

    // The head goes without the page-break test, and a block is not moved to a new page
    // when nothing but the head stands above it: it would not fit there either, and an
    // oversized template would start pages without end.
    if (!report.writeHead())
        return ReportStatus::Failed;
    std::pair<int, int> afterHead{printer.PageNumber(), printer.CursorY()};
    for (bool first = true;; first = false) {
        if (!first) {
            std::optional<lendingqueries::ListRow> next = cursor.next();
            if (!next)
                break;
            current = std::move(*next);
        }
        const bool belowHead = afterHead != std::pair{printer.PageNumber(), printer.CursorY()};
        if (belowHead && report.needsBreak(blockLines, true)) {
            if (!report.breakPage())
                return ReportStatus::Failed;
            afterHead = {printer.PageNumber(), printer.CursorY()};
        }
        if (!report.writeRecord())
            return ReportStatus::Failed;
    }
    if (!report.writeFoot())
        return ReportStatus::Failed;
    if (printer.Printing())
        printer.FinishDocument();
    return ReportStatus::Composed;
}

ReportStatus compose(ReportContext& context) {
    Options options;
    int borrower = -1;
    for (const QString& a : context.arguments) {
        if (a == QLatin1String("--open") || a == QLatin1String("--returned")) {
            if (options.selection != lendingqueries::Selection::All)
                return ReportStatus::BadArguments;
            options.selection = a == QLatin1String("--open") ? lendingqueries::Selection::Open
                                                             : lendingqueries::Selection::Returned;
        } else if (borrower < 0 && !a.startsWith(QLatin1String("--"))) {
            const borrowers::Match m = borrowers::resolve(context.db, a);
            if (!m.ok()) {
                context.messages.error(m.error);
                return ReportStatus::Failed;
            }
            borrower = qRound(m.matches.front().folgenummer);
        } else {
            return ReportStatus::BadArguments;
        }
    }
    if (!checkList(context.db, context.messages, borrower))
        return ReportStatus::Failed;
    if (!chooseTemplateAndFont(context, options, 4, kNoTemplates, kNoTemplatesHelp,
                               context.settings.fontNameLend, context.settings.fontSizeLend))
        return ReportStatus::Failed;
    return print(context.printer, context.db, context.messages, options, borrower);
}

} // namespace lendinglistreport
