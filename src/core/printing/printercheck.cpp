#include "printercheck.h"

#include "core/common/messageservice.h"

namespace printercheck {

bool printerDefined(const QStringList& printers, MessageService& messages) {
    if (!printers.isEmpty())
        return true;
    messages.show({MessageKind::Information,
                   QStringLiteral("Es es kein Drucker definiert."),
                   MessageButton::Ok | MessageButton::Help,
                   15000,
                   {}});
    return false;
}

} // namespace printercheck
