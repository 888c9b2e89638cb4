#include "printercheck.h"

#include "core/common/messageservice.h"
#include "templatestore.h"

namespace printercheck {

bool printerDefined(bool present, MessageService& messages, const QString& noPrinterText) {
    if (present)
        return true;
    messages.information(noPrinterText, 15000);
    return false;
}

bool printerDefined(const QStringList& printers, MessageService& messages) {
    return printerDefined(!printers.isEmpty(), messages);
}

bool templatesPresent(Database& db, MessageService& messages, int type, const QString& missingText,
                      int missingHelp) {
    if (!templatestore::byType(db, type).empty())
        return true;
    messages.error(missingText, missingHelp);
    return false;
}

bool readyToPrint(Database& db, const QStringList& printers, MessageService& messages, int type,
                  const QString& missingText, int missingHelp) {
    return printerDefined(printers, messages) &&
           templatesPresent(db, messages, type, missingText, missingHelp);
}

} // namespace printercheck
