#pragma once

#include "core/db/records.h"
#include "reportrun.h"
#include "templatereport.h"

#include <QDate>
#include <optional>
#include <vector>

class Database;
class MessageService;
class TPagePrinter;

// The carrier list through a list template: the carriers of chosen media types, states or
// music directions, one page part each, optionally only those bought after a date. Used by
// the list print dialog and by `diskarium-tool print DIR list`.
namespace medialistreport {

inline const QString kTitle = QStringLiteral("WinDsKm - Tonträgerliste");
inline const QString kNoTemplates =
    QStringLiteral("Es sind keine Druckvorlagen vorhanden. Es kann keine Liste gedruckt werden!");
inline constexpr int kNoTemplatesHelp = 34500;

enum Selection { MediaTypes = 0, States = 1, Directions = 2 };
enum Order { Alphabetical = 0, ByNumber = 1 };

// Stored values outside the known ones count as the first.
inline int validSelection(int value) {
    return value >= MediaTypes && value <= Directions ? value : MediaTypes;
}
inline int validOrder(int value) {
    return value >= Alphabetical && value <= ByNumber ? value : Alphabetical;
}

// The rows of the selection's lookup table in its key order.
std::vector<LookupRecord> selectionRows(Database& db, int selection);
// The list's label: "&Tonträgerarten", "S&tatusarten", "Musikrich&tungen".
QString selectionLabel(int selection);
// The message when nothing is selected, and its help context.
QString noSelectionText(int selection);
int noSelectionHelp(int selection);

struct Options {
    PrintTemplateRecord templ;
    QString fontName = QStringLiteral("Courier");
    int fontSize = 11;
    int selection = MediaTypes;
    std::vector<double> codes; // the "Index-Nummer" of every selected row
    int order = Alphabetical;
    std::optional<QDate> boughtAfter; // only carriers bought later than this day
};

// Composes into the printer; the document is finished on return. Failed after a message
// (empty template part) or an abort.
ReportStatus print(TPagePrinter& printer, Database& db, MessageService& messages,
                   const Options& options, const ReportProgress& progress = {});

// `diskarium-tool print DIR list ...`.
ReportStatus compose(ReportContext& context);

} // namespace medialistreport
