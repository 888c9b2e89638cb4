#include "reportrun.h"

#include "core/catalogue/carrierkey.h"
#include "core/common/messageservice.h"
#include "pageprinter.h"
#include "pdfpagedevice.h"
#include "reportsetup.h"

#include <QSaveFile>

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

    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly)) {
        messages.error(QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2")
                           .arg(pdfPath, file.errorString()));
        return {ReportStatus::Failed, 0};
    }
    device.setOutputDevice(&file);
    bool printed = false;
    try {
        printed = printer.PrintPages() && device.jobSucceeded();
    } catch (const std::exception& e) {
        messages.error(QString::fromUtf8(e.what()));
    }
    if (!printed || !file.commit()) {
        file.cancelWriting();
        messages.error(QStringLiteral("Die Datei %1 konnte nicht vollständig geschrieben werden.")
                           .arg(pdfPath));
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
