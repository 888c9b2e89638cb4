#pragma once

#include "core/db/records.h"
#include "core/printing/reportrun.h"
#include "core/printing/templatereport.h"
#include "lendingqueries.h"

class Database;
class MessageService;
class TPagePrinter;

// The lending list: a lending template's page part per lending, with head and foot on every
// page. Used by the lending list dialog and by `diskarium-tool print DIR lendings`.
namespace lendinglistreport {

inline const QString kTitle = QStringLiteral("WinDsKm - Leiherdatenbank drucken");
inline const QString kNoData = QStringLiteral("Es sind keine Daten vorhanden!");
inline constexpr int kNoDataHelp = 36003;
inline const QString kNoTemplates = QStringLiteral(
    "Es sind keine Druckvorlagen vorhanden. Es kann keine Leiherliste gedruckt werden!");
inline constexpr int kNoTemplatesHelp = 5010;

struct Options {
    PrintTemplateRecord templ;
    QString fontName = QStringLiteral("Arial");
    int fontSize = 11;
    lendingqueries::Selection selection = lendingqueries::Selection::All;
};

// The checks before the lending list opens, with their messages: the borrower (-1: all)
// has a lending of either state, and a lending template exists.
bool checkList(Database& db, MessageService& messages, int borrower);
// The check before a borrower's overview opens.
bool checkOverview(Database& db, MessageService& messages, int borrower);

// borrower -1: every borrower. Composes into the printer; the document is finished on
// return.
ReportStatus print(TPagePrinter& printer, Database& db, MessageService& messages,
                   const Options& options, int borrower, const ReportProgress& progress = {});

// `print DIR lendings [BORROWER] [--open | --returned]`.
ReportStatus compose(ReportContext& context);

} // namespace lendinglistreport
