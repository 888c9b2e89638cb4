#include "scriptedmessageservice.h"

MessageButton ScriptedMessageService::show(const Message& message) {
    m_messages.append(message);
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    for (MessageButton b :
         {MessageButton::Ok, MessageButton::Yes, MessageButton::No, MessageButton::Cancel}) {
        if (message.buttons.testFlag(b))
            return b;
    }
    return MessageButton::None;
}

QString ScriptedMessageService::chooseOpenFile(const FileChoice& choice) {
    m_fileChoices.append(choice);
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}

QString ScriptedMessageService::chooseSaveFile(const FileChoice& choice) {
    return chooseOpenFile(choice);
}

QStringList ScriptedMessageService::chooseOpenFiles(const FileChoice& choice) {
    m_fileChoices.append(choice);
    return m_fileLists.isEmpty() ? QStringList() : m_fileLists.dequeue();
}
