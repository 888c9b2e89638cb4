#include "reminderreport.h"

#include "core/catalogue/carrierkey.h"
#include "core/common/messageservice.h"
#include "core/db/recordaccess.h"
#include "core/printing/fontchoice.h"
#include "core/printing/pageprinter.h"
#include "core/settings/settings.h"
#include "lending.h"
#include "lendingnames.h"

namespace reminderreport {

ReportStatus print(TPagePrinter& printer, Database& db, MessageService& messages,
                   const Options& options, int carrierNumber, qint32 lendingNumber,
                   const ReportProgress& progress) {
    if (options.templ.seitenText.isEmpty()) {
        messages.information(kEmptyPage, kEmptyPageHelp);
        return ReportStatus::Failed;
    }
    const std::vector<LendingRecord> found = records::select<LendingRecord>(
        db,
        u"WHERE \"Tonträgernummer\" = ?1 AND \"Folgenummer\" = ?2 ORDER BY \"Verleihstatus\" DESC",
        {carrierNumber, lendingNumber});
    if (found.empty()) {
        messages.information(kLendingGone);
        return ReportStatus::Failed;
    }
    const LendingRecord& lending = found.front();
    const std::vector<CarrierRecord> carriers =
        records::select<CarrierRecord>(db, u"WHERE \"Folgenummer Kopf\" = ?1", {carrierNumber});
    const CarrierRecord* carrier = carriers.empty() ? nullptr : &carriers.front();
    if (!carrier) {
        messages.information(lending::kCarrierGone);
        return ReportStatus::Failed;
    }
    BorrowerRecord borrowerKey;
    borrowerKey.folgenummer = lending.verliehenAn.value_or(0);
    const std::optional<BorrowerRecord> borrower = records::find(db, borrowerKey);

    const ReportLookups lookups = ReportLookups::read(db);
    LendingNames names(lookups);
    names.set(&lending, borrower ? &*borrower : nullptr, carrier);
    // The letter is written once like a head: no head or foot of its own and no page-break
    // test; the engine continues on a new page when a line does not fit.
    TemplateParts parts;
    parts.head = options.templ.seitenText;
    parts.headLines = TemplateInterpreter::lineCount(parts.head);
    parts.margin = int(std::lround(options.templ.seitenrand.value_or(0)));
    TemplateReport report(printer, std::move(parts), progress);
    report.setNames({&names});
    QFont font(options.fontName);
    font.setPointSize(fontchoice::validSize(options.fontSize, 11));
    report.start(kTitle, font);
    if (!report.writeHead())
        return ReportStatus::Failed;
    if (printer.Printing())
        printer.FinishDocument();
    return ReportStatus::Composed;
}

ReportStatus compose(ReportContext& context) {
    if (context.arguments.size() != 1)
        return ReportStatus::BadArguments;
    const carrierkey::Result key = carrierkey::resolve(context.db, context.arguments.front());
    if (!key.ok()) {
        context.messages.error(key.error);
        return ReportStatus::Failed;
    }
    const std::optional<LendingRecord> open =
        lending::openLending(context.db, key.carrier().number);
    if (!open) {
        context.messages.error(kNotLent, kNotLentHelp);
        return ReportStatus::Failed;
    }
    Options options;
    if (!chooseTemplateAndFont(context, options, 3, kNoTemplates, kNoTemplatesHelp,
                               context.settings.fontNameMahn, context.settings.fontSizeMahn))
        return ReportStatus::Failed;
    return print(context.printer, context.db, context.messages, options, key.carrier().number,
                 qint32(open->folgenummer));
}

} // namespace reminderreport
