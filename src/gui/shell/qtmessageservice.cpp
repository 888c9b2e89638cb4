#include "qtmessageservice.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <utility>

QtMessageService::QtMessageService(QWidget* parent) : m_parent(parent) {}

MessageButton QtMessageService::show(const Message& message) {
    static const std::pair<MessageButton, const char*> kButtons[] = {
        {MessageButton::Ok, "OK"},      {MessageButton::Yes, "Ja"},
        {MessageButton::No, "Nein"},    {MessageButton::Cancel, "Abbrechen"},
        {MessageButton::Help, "Hilfe"},
    };
    QMessageBox box(m_parent);
    switch (message.kind) {
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    }
    box.setWindowTitle(message.caption.isEmpty() ? QApplication::applicationDisplayName()
                                                 : message.caption);
    box.setText(message.text);

    QPushButton* escapeButton = nullptr;
    QPushButton* helpButton = nullptr;
    std::vector<std::pair<QAbstractButton*, MessageButton>> answers;
    for (const auto& [button, text] : kButtons) {
        if (!message.buttons.testFlag(button))
            continue;
        const auto role = button == MessageButton::Help ? QMessageBox::HelpRole
                          : button == MessageButton::Cancel || button == MessageButton::No
                              ? QMessageBox::RejectRole
                              : QMessageBox::AcceptRole;
        QPushButton* b = box.addButton(QString::fromUtf8(text), role);
        if (button == MessageButton::Help)
            helpButton = b;
        else
            answers.emplace_back(b, button);
        if (button == MessageButton::Cancel || (!escapeButton && button == MessageButton::No))
            escapeButton = b;
    }
    if (answers.empty())
        answers.emplace_back(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole),
                             MessageButton::Ok);
    box.setDefaultButton(static_cast<QPushButton*>(answers.front().first));
    if (escapeButton)
        box.setEscapeButton(escapeButton);

    for (;;) {
        box.exec();
        QAbstractButton* clicked = box.clickedButton();
        if (clicked && clicked == helpButton) {
            if (m_help)
                m_help(message.helpContext);
            continue;
        }
        for (const auto& [b, answer] : answers) {
            if (b == clicked)
                return answer;
        }
        // Closed by the window frame: the escape answer, or the only one there is.
        return message.buttons.testFlag(MessageButton::Cancel) ? MessageButton::Cancel
               : answers.size() == 1                           ? answers.front().second
                                                               : MessageButton::None;
    }
}

QString QtMessageService::chooseOpenFile(const FileChoice& choice) {
    if (choice.helpContext == 0)
        return QFileDialog::getOpenFileName(m_parent, choice.title,
                                            QDir(choice.directory).filePath(choice.fileName),
                                            choice.filter);
    // A dialog of our own, so that F1 reaches the help topic.
    QFileDialog dialog(m_parent, choice.title, QDir(choice.directory).filePath(choice.fileName),
                       choice.filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), &dialog);
    QObject::connect(help, &QShortcut::activated, &dialog, [this, &choice] {
        if (m_help)
            m_help(choice.helpContext);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtMessageService::askText(const TextQuestion& question) {
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(question.title);
    dialog.setLabelText(question.prompt);
    dialog.setTextValue(question.text);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtMessageService::chooseSaveFile(const FileChoice& choice) {
    return QFileDialog::getSaveFileName(
        m_parent, choice.title, QDir(choice.directory).filePath(choice.fileName), choice.filter);
}

QStringList QtMessageService::chooseOpenFiles(const FileChoice& choice) {
    return QFileDialog::getOpenFileNames(
        m_parent, choice.title, QDir(choice.directory).filePath(choice.fileName), choice.filter);
}

QString QtMessageService::chooseDirectory(const FileChoice& choice) {
    return QFileDialog::getExistingDirectory(m_parent, choice.title, choice.directory);
}
