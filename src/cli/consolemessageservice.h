#pragma once

#include "core/common/messageservice.h"

#include <QTextStream>

// Prints every message. Questions are answered "yes" (OK or Ja) only when the user said
// so on the command line; otherwise with Cancel or Nein. File choices are never made.
class ConsoleMessageService : public MessageService {
public:
    explicit ConsoleMessageService(bool answerYes) : m_answerYes(answerYes) {}

    MessageButton show(const Message& message) override;
    QString chooseOpenFile(const FileChoice&) override { return {}; }
    QString chooseSaveFile(const FileChoice&) override { return {}; }

private:
    bool m_answerYes;
};
