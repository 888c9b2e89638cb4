#pragma once

#include "core/db/records.h"
#include "core/printing/reportrun.h"
#include "core/printing/templatereport.h"

class Database;
class MessageService;
class TPagePrinter;

// The reminder letter: the page part of a reminder template, written once for one lending.
// Used by the reminder dialog and by `diskarium-tool print DIR reminder`.
namespace reminderreport {

inline const QString kTitle = QStringLiteral("WinDsKm - Mahnung");
inline const QString kEmptyPage =
    QStringLiteral("Die Druckvorlage enthält keine Informationen zum Ausdruck der Mahnung. Bitte "
                   "überarbeiten Sie die Druckvorlage.");
inline constexpr int kEmptyPageHelp = 36011;
inline const QString kNoTemplates =
    QStringLiteral("Es sind keine Druckvorlagen vorhanden. Es kann keine Mahnung gedruckt werden!");
inline constexpr int kNoTemplatesHelp = 5009;
inline const QString kNotLent = QStringLiteral(
    "Dieser Tonträger ist nicht mehr verliehen und kann aus diesem Grund nicht angemahnt werden.");
inline constexpr int kNotLentHelp = 36014;
inline const QString kLendingGone = QStringLiteral("Der Verleiheintrag ist nicht mehr vorhanden.");

struct Options {
    PrintTemplateRecord templ;
    QString fontName = QStringLiteral("Arial");
    int fontSize = 11;
};

// The lending is found by carrier and number: lendings of the same two seconds share a
// number. Composes into the printer; the document is finished on return.
ReportStatus print(TPagePrinter& printer, Database& db, MessageService& messages,
                   const Options& options, int carrierNumber, qint32 lendingNumber,
                   const ReportProgress& progress = {});

// `print DIR reminder KEY`: the open lending of the carrier KEY names.
ReportStatus compose(ReportContext& context);

} // namespace reminderreport
