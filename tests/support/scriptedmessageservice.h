#pragma once

#include "core/common/messageservice.h"

#include <QList>
#include <QQueue>
#include <functional>

// Answers message boxes and file choices from a script and records every box, so tests can
// check text, kind, buttons and help context.
class ScriptedMessageService : public MessageService {
public:
    // Answers given in order; when the script runs out, the first button of the box that is
    // not Help answers.
    void answer(MessageButton button) { m_answers.enqueue(button); }
    void answerFile(const QString& path) { m_files.enqueue(path); }
    // Text answers in order; a null string cancels, and so does running out.
    void answerText(const QString& text) { m_texts.enqueue(text); }

    MessageButton show(const Message& message) override;
    // Runs while a box is "open", as a real box's own event loop would (pending timers fire).
    std::function<void()> whileShowing;
    QString chooseOpenFile(const FileChoice& choice) override;
    QString chooseSaveFile(const FileChoice& choice) override;
    std::optional<QString> askText(const TextQuestion& question) override;
    // Answers the several-files choice with the queued list (empty: cancelled).
    void answerFiles(const QStringList& paths) { m_fileLists.enqueue(paths); }
    QStringList chooseOpenFiles(const FileChoice& choice) override;
    // Answers from the same queue as the file choices.
    QString chooseDirectory(const FileChoice& choice) override { return chooseOpenFile(choice); }

    const QList<Message>& messages() const { return m_messages; }
    const QList<FileChoice>& fileChoices() const { return m_fileChoices; }
    const QList<TextQuestion>& textQuestions() const { return m_textQuestions; }
    void clear() {
        m_messages.clear();
        m_fileChoices.clear();
    }

private:
    QQueue<MessageButton> m_answers;
    QQueue<QString> m_files;
    QQueue<QStringList> m_fileLists;
    QList<Message> m_messages;
    QList<FileChoice> m_fileChoices;
    QQueue<QString> m_texts;
    QList<TextQuestion> m_textQuestions;
};
