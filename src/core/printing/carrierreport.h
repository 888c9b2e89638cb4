#pragma once

#include "core/db/records.h"
#include "reportrun.h"
#include "templatereport.h"

class Database;
class MessageService;
class TPagePrinter;

// The carrier sheet through a carrier template: one carrier, or every carrier one after
// another. Used by the print dialogs and by `diskarium-tool print`.
namespace carrierreport {

inline const QString kTitle = QStringLiteral("WinDsKm - Tonträger drucken");
inline const QString kCarrierGone = QStringLiteral("Der Tonträger ist nicht mehr vorhanden.");
inline const QString kNoTemplates = QStringLiteral(
    "Es sind keine Druckvorlagen vorhanden. Der Tonträger kann nicht ausgedruckt werden.!");
inline constexpr int kNoTemplatesHelp = 31006;
// Printing every carrier speaks of a list.
inline const QString kNoTemplatesAll =
    QStringLiteral("Es sind keine Druckvorlagen vorhanden. Es kann keine Liste gedruckt werden!");
inline constexpr int kNoTemplatesAllHelp = 34501;

struct Options {
    PrintTemplateRecord templ;
    QString fontName;
    int fontSize = 11;
    bool additionalText = false;
    bool pageFeed = true; // print all: every carrier on a new page
};

// Whether the carrier is still stored: the print commands ask before a dialog opens.
bool carrierStored(Database& db, int carrierNumber);

// Compose into the printer; the document is finished on return. Failed after a message
// (empty part, carrier gone) or an abort.
ReportStatus printCarrier(TPagePrinter& printer, Database& db, MessageService& messages,
                          const Options& options, int carrierNumber,
                          const ReportProgress& progress = {});
ReportStatus printAll(TPagePrinter& printer, Database& db, MessageService& messages,
                      const Options& options, const ReportProgress& progress = {});

// The composers of `diskarium-tool print DIR carrier KEY` and `print DIR all`.
ReportStatus composeCarrier(ReportContext& context);
ReportStatus composeAll(ReportContext& context);

} // namespace carrierreport
