#include "messageservice.h"

MessageButton MessageService::error(const QString& text, int helpContext) {
    return show(
        {MessageKind::Error, text, MessageButton::Ok | MessageButton::Help, helpContext, {}});
}

MessageButton MessageService::information(const QString& text, int helpContext) {
    return show(
        {MessageKind::Information, text, MessageButton::Ok | MessageButton::Help, helpContext, {}});
}

MessageButton MessageService::confirm(const QString& text, MessageButtons buttons,
                                      int helpContext) {
    return show({MessageKind::Confirmation, text, buttons, helpContext, {}});
}

QStringList MessageService::chooseOpenFiles(const FileChoice& choice) {
    const QString file = chooseOpenFile(choice);
    return file.isEmpty() ? QStringList() : QStringList{file};
}
