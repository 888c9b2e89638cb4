#include "carrierreport.h"

#include "carriernames.h"
#include "carrierreader.h"
#include "core/catalogue/carrierstore.h"
#include "core/common/messageservice.h"
#include "core/db/database.h"
#include "core/settings/settings.h"
#include "fontchoice.h"
#include "pageprinter.h"

namespace carrierreport {

namespace {

QFont reportFont(const Options& options) {
    QFont font(options.fontName);
    font.setPointSize(fontchoice::validSize(options.fontSize, 11));
    return font;
}

// One carrier as the sheet shows it: head, additional text, a page part per song, and the
// foot (left to the caller). Song names in head and foot refer to the song printed next.
class CarrierSheet {
public:
    CarrierSheet(TemplateReport& report, const ReportLookups& lookups)
        : m_report(report), m_carrierNames(lookups), m_songNames(lookups) {
        m_report.setNames({&m_carrierNames, &m_songNames});
    }

    bool writeUpToFoot(const CarrierPrintData& data, bool additionalText) {
        m_carrierNames.setCarrier(&data.carrier, data.info ? &*data.info : nullptr);
        setSong(data, 0);
        if (!m_report.writeHead())
            return false;
        if (additionalText && !data.additionalText.isEmpty()) {
            m_report.printer().NewLine();
            if (!m_report.writeRecord(data.additionalText))
                return false;
            m_report.printer().NewLine();
        }
        for (size_t i = 0; i < data.songs.size(); ++i) {
            setSong(data, i);
            if (!m_report.breakIfNeeded(m_report.parts().pageLines) || !m_report.writeRecord())
                return false;
        }
        setSong(data, data.songs.empty() ? 0 : data.songs.size() - 1);
        return true;
    }

private:
    void setSong(const CarrierPrintData& data, size_t i) {
        if (i >= data.songs.size()) {
            m_songNames.setSong(nullptr, nullptr);
            return;
        }
        const std::optional<SongInfoRecord>& info = data.songInfos[i];
        m_songNames.setSong(&data.songs[i], info ? &*info : nullptr);
    }

    TemplateReport& m_report;
    CarrierNames m_carrierNames;
    SongNames m_songNames;
};

ReportStatus finished(TemplateReport& report) {
    if (report.aborted())
        return ReportStatus::Failed;
    if (report.printer().Printing())
        report.printer().FinishDocument();
    return ReportStatus::Composed;
}

} // namespace

bool carrierStored(Database& db, int carrierNumber) {
    return CarrierStore::stored(db, carrierNumber);
}

ReportStatus printCarrier(TPagePrinter& printer, Database& db, MessageService& messages,
                          const Options& options, int carrierNumber,
                          const ReportProgress& progress) {
    std::optional<TemplateParts> parts = TemplateParts::load(options.templ, messages);
    if (!parts)
        return ReportStatus::Failed;
    CarrierReader reader(db);
    const std::optional<CarrierPrintData> data = reader.read(carrierNumber);
    if (!data) {
        messages.information(kCarrierGone);
        return ReportStatus::Failed;
    }
    const ReportLookups lookups = ReportLookups::read(db);
    TemplateReport report(printer, std::move(*parts), progress);
    CarrierSheet sheet(report, lookups);
    report.start(kTitle, reportFont(options));
    if (sheet.writeUpToFoot(*data, options.additionalText))
        report.writeFoot();
    return finished(report);
}

ReportStatus printAll(TPagePrinter& printer, Database& db, MessageService& messages,
                      const Options& options, const ReportProgress& progress) {
    std::optional<TemplateParts> parts = TemplateParts::load(options.templ, messages);
    if (!parts)
        return ReportStatus::Failed;
    CarrierReader reader(db);
    const std::vector<int> numbers = reader.allNumbers();
    const ReportLookups lookups = ReportLookups::read(db);
    TemplateReport report(printer, std::move(*parts), progress);
    CarrierSheet sheet(report, lookups);
    report.start(kTitle, reportFont(options));
    const TemplateParts& p = report.parts();
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (progress.abortRequested && progress.abortRequested()) {
            printer.FinishDocument();
            return ReportStatus::Failed;
        }
        const std::optional<CarrierPrintData> data = reader.read(numbers[i]);
        if (!data)
            continue; // deleted meanwhile
        if (!sheet.writeUpToFoot(*data, options.additionalText))
            break;
        const bool last = i + 1 == numbers.size();
        // Without page feed the test comes before the foot and counts it, so the foot stays
        // with its carrier and the next carrier follows on the same page when it fits.
        const bool change = !last && (options.pageFeed ||
                                      report.needsBreak(2 * p.footLines + p.pageLines + 5, true));
        if (last || change) {
            if (!report.writeFoot())
                break;
            if (change)
                printer.NewPage();
        } else if (!report.writeFootInPlace()) {
            break;
        }
    }
    return finished(report);
}

namespace {

// Template and font as the dialogs would offer them; nullopt after a message.
std::optional<Options> optionsFor(ReportContext& context, const QString& noTemplateText,
                                  int noTemplateHelp) {
    Options options;
    if (!chooseTemplateAndFont(context, options, 2, noTemplateText, noTemplateHelp,
                               context.settings.fontNameRecords, context.settings.fontSizeRecords))
        return std::nullopt;
    options.additionalText = context.settings.printAdditionalText;
    return options;
}

} // namespace

ReportStatus composeCarrier(ReportContext& context) {
    if (context.arguments.size() != 1)
        return ReportStatus::BadArguments;
    const std::optional<int> number = reportCarrier(context, context.arguments.front());
    if (!number)
        return ReportStatus::Failed;
    const std::optional<Options> options = optionsFor(context, kNoTemplates, kNoTemplatesHelp);
    if (!options)
        return ReportStatus::Failed;
    return printCarrier(context.printer, context.db, context.messages, *options, *number);
}

ReportStatus composeAll(ReportContext& context) {
    QStringList arguments = context.arguments;
    const bool noFeed = arguments.removeAll(QStringLiteral("--no-page-feed")) > 0;
    if (!arguments.isEmpty())
        return ReportStatus::BadArguments;
    std::optional<Options> options = optionsFor(context, kNoTemplatesAll, kNoTemplatesAllHelp);
    if (!options)
        return ReportStatus::Failed;
    options->pageFeed = !noFeed;
    return printAll(context.printer, context.db, context.messages, *options);
}

} // namespace carrierreport
