#include "reportrun.h"

#include "core/catalogue/carrierkey.h"
#include "core/common/atomicfile.h"
#include "core/common/messageservice.h"
#include "fontchoice.h"
#include "pageprinter.h"
#include "pdfpagedevice.h"
#include "reportsetup.h"
#include "templatestore.h"

int ReportOptions::sizeOr(int stored) const {
    return fontSize > 0 ? fontSize : fontchoice::validSize(stored, 11);
}

ReportResult printReportToPdf(const ReportComposer& compose, Database& db, const Settings& settings,
                              const QString& dataDirectory, MessageService& messages,
                              const QStringList& arguments, const ReportOptions& options,
                              const QString& pdfPath) {
    PdfPageDevice device;
    TPagePrinter printer(&device);
    reportsetup::resetForReport(printer);
    printer.setShowProgress(false);
    ReportContext context{db, settings, dataDirectory, messages, printer, arguments, options};
    ReportResult result;
    try {
        result.status = compose(context);
        if (result.status != ReportStatus::Composed)
            return result;
        if (printer.Printing())
            printer.FinishDocument();
    } catch (const std::exception& e) {
        messages.error(QString::fromUtf8(e.what()));
        return {ReportStatus::Failed, 0};
    }
    result.pages = printer.PageCount();
    if (result.pages == 0) {
        messages.error(QStringLiteral("Der Bericht hat keine Seite ergeben; es wurde keine Datei "
                                      "geschrieben."));
        return {ReportStatus::Failed, 0};
    }

    atomicfile::File file(pdfPath);
    device.setOutputDevice(file.device());
    bool printed = false;
    try {
        printed = printer.PrintPages() && device.jobSucceeded();
    } catch (const std::exception& e) {
        messages.error(QString::fromUtf8(e.what()));
    }
    QString error;
    if (!printed) {
        messages.error(QStringLiteral("Die Datei %1 konnte nicht vollständig geschrieben werden.")
                           .arg(pdfPath));
        return {ReportStatus::Failed, 0};
    }
    if (!file.commit(&error)) {
        messages.error(error);
        return {ReportStatus::Failed, 0};
    }
    return result;
}

std::optional<int> reportCarrier(ReportContext& context, const QString& key) {
    const carrierkey::Result found = carrierkey::resolve(context.db, key);
    if (!found.ok()) {
        context.messages.error(found.error);
        return std::nullopt;
    }
    return found.carrier().number;
}

std::optional<PrintTemplateRecord> reportTemplate(ReportContext& context, int type,
                                                  const QString& missingText, int missingHelp) {
    const QString& choice = context.options.templateChoice;
    std::optional<PrintTemplateRecord> templ = templatestore::choose(context.db, type, choice);
    if (templ)
        return templ;
    if (choice.isEmpty())
        context.messages.error(missingText, missingHelp);
    else
        context.messages.error(
            QStringLiteral("Die Druckvorlage \"%1\" gibt es nicht.").arg(choice));
    return std::nullopt;
}
