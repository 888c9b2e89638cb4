#include "scriptedmessageservice.h"

MessageButton ScriptedMessageService::show(const Message& message) {
    m_messages.append(message);
    if (whileShowing)
        whileShowing();
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

std::optional<QString> ScriptedMessageService::askText(const TextQuestion& question) {
    m_textQuestions.append(question);
    if (m_texts.isEmpty())
        return std::nullopt;
    const QString text = m_texts.dequeue();
    return text.isNull() ? std::nullopt : std::optional<QString>(text);
}

QStringList ScriptedMessageService::chooseOpenFiles(const FileChoice& choice) {
    m_fileChoices.append(choice);
    return m_fileLists.isEmpty() ? QStringList() : m_fileLists.dequeue();
}
