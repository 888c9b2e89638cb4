#pragma once

#include "core/db/records.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Database;
class MessageService;
class TPagePrinter;
struct Settings;

// A report composed without a window: the pages the report dialog would make for the
// built-in PDF printer, written to a PDF file.

// What the caller chose beyond the report's own arguments; empty or 0 means the default the
// report's dialog would offer.
struct ReportOptions {
    QString templateChoice; // a template's name or "Index-Nummer"
    QString fontName;
    int fontSize = 0;

    // The caller's font, or the stored one the report's dialog would preset.
    QString fontOr(const QString& stored) const { return fontName.isEmpty() ? stored : fontName; }
    int sizeOr(int stored) const;
};

struct ReportContext {
    Database& db;
    const Settings& settings;
    QString dataDirectory;
    MessageService& messages;
    TPagePrinter& printer; // already reset to the preview's set-up
    QStringList arguments; // the report's own arguments
    ReportOptions options;
};

enum class ReportStatus {
    Composed,     // pages are in the printer's page store (the document may still be open)
    Failed,       // the report told the user why through the message service
    BadArguments, // the arguments do not fit the report; a usage text follows
};

using ReportComposer = std::function<ReportStatus(ReportContext&)>;

struct ReportResult {
    ReportStatus status = ReportStatus::Failed;
    int pages = 0;
};

// Composes through a fresh page printer on the PDF device, then writes all pages to
// pdfPath. The file appears only when it is complete; on any failure none is left and an
// error went through the message service.
ReportResult printReportToPdf(const ReportComposer& compose, Database& db, const Settings& settings,
                              const QString& dataDirectory, MessageService& messages,
                              const QStringList& arguments, const ReportOptions& options,
                              const QString& pdfPath);

// The carrier a report argument names ("ART:NUMMER" such as LP:17, or "#N"); a malformed,
// unknown or ambiguous key is told through the message service and gives nothing.
std::optional<int> reportCarrier(ReportContext& context, const QString& key);

// The template the caller chose, or the first of the type by "Index-Nummer"; nothing after
// telling the user that there is none (missingText, missingHelp) or that the chosen one
// does not exist.
std::optional<PrintTemplateRecord> reportTemplate(ReportContext& context, int type,
                                                  const QString& missingText, int missingHelp);

// Sets the report options' template (as reportTemplate chooses it) and font: the caller's,
// or the stored one the report's dialog would preset. False after a message.
template <typename Options>
bool chooseTemplateAndFont(ReportContext& context, Options& options, int type,
                           const QString& missingText, int missingHelp, const QString& storedFont,
                           int storedSize) {
    std::optional<PrintTemplateRecord> templ =
        reportTemplate(context, type, missingText, missingHelp);
    if (!templ)
        return false;
    options.templ = std::move(*templ);
    options.fontName = context.options.fontOr(storedFont);
    options.fontSize = context.options.sizeOr(storedSize);
    return true;
}
