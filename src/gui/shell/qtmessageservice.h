#pragma once

#include "core/common/messageservice.h"

#include <QPointer>
#include <QWidget>
#include <functional>

// Message boxes and file dialogs with German button texts. "Hilfe" opens the help topic
// and leaves the box open; it is never returned as the answer.
class QtMessageService : public MessageService {
public:
    using HelpHandler = std::function<void(int helpContext)>;

    explicit QtMessageService(QWidget* parent = nullptr);

    void setParent(QWidget* parent) { m_parent = parent; }
    void setHelpHandler(HelpHandler handler) { m_help = std::move(handler); }

    MessageButton show(const Message& message) override;
    QString chooseOpenFile(const FileChoice& choice) override;
    QString chooseSaveFile(const FileChoice& choice) override;
    std::optional<QString> askText(const TextQuestion& question) override;
    QStringList chooseOpenFiles(const FileChoice& choice) override;
    QString chooseDirectory(const FileChoice& choice) override;

private:
    QPointer<QWidget> m_parent;
    HelpHandler m_help;
};
