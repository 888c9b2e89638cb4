#pragma once

#include "core/db/records.h"
#include "reportrun.h"
#include "templatereport.h"

#include <QString>
#include <optional>

class Database;
class TPagePrinter;

// The cover insert of one carrier: title lines and the song list grouped by side and
// interpreter, in a fixed layout taken from a media type's cover settings.
namespace coverreport {

inline const QString kTitle = QStringLiteral("WinDsKm - Hüllen");
inline constexpr int kMaxEmptyLines = 15;

struct Layout {
    QString fontName = QStringLiteral("Arial");
    int fontSize = 6;
    int linesBefore = 4;
    int linesAfter = 2;
};

// The cover settings of a media type; the defaults for a type without them (also type 0).
Layout layoutFor(Database& db, int mediaType);

// The media type the carrier is stored with; nothing when the carrier is gone.
std::optional<int> carrierMediaType(Database& db, int carrierNumber);

// Column widths in millimetres: label, number, text, time.
struct Columns {
    double label = 0, number = 0, text = 0, time = 0;
};

// Composes into the printer; the document is finished on return. Failed when the carrier
// is gone (after a message) or on an abort.
ReportStatus printCover(TPagePrinter& printer, Database& db, MessageService& messages,
                        const Layout& layout, int carrierNumber,
                        const ReportProgress& progress = {});

// `diskarium-tool print DIR cover KEY [--type SHORT]`.
ReportStatus composeCover(ReportContext& context);

// The time cell: fixed 7.2 without padding blanks, empty for 0.
QString timeText(const std::optional<double>& time);

} // namespace coverreport
