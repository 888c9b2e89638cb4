#pragma once

#include <QFlags>
#include <QString>
#include <optional>
#include <QStringList>

// Every message box and file choice of the program goes through this seam: the GUI shows
// real dialogs, tests answer from a script and check what was asked.

enum class MessageKind { Error, Warning, Information, Confirmation };

enum class MessageButton {
    None = 0x00,
    Ok = 0x01,
    Cancel = 0x02,
    Yes = 0x04,
    No = 0x08,
    Help = 0x10, // opens the help topic; never an answer
};
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

struct Message {
    MessageKind kind = MessageKind::Information;
    QString text;
    MessageButtons buttons = MessageButton::Ok;
    int helpContext = 0;
    QString caption; // empty: the application title
};

struct FileChoice {
    QString title;
    QString directory;
    QString fileName; // proposed name
    QString filter;   // "Beschreibung (*.ext);;Alle (*.*)"
    int helpContext = 0;
};

// A line of text asked for ("Zeilen-Nr." of "Zu Zeilennummer springen").
struct TextQuestion {
    QString title;
    QString prompt;
    QString text; // proposed
};

class MessageService {
public:
    virtual ~MessageService() = default;

    // Returns the button pressed; closing the box counts as Cancel, or as the only button.
    virtual MessageButton show(const Message& message) = 0;
    // The chosen path, or empty when the user cancelled.
    virtual QString chooseOpenFile(const FileChoice& choice) = 0;
    virtual QString chooseSaveFile(const FileChoice& choice) = 0;
    // The text entered, or nothing when the user cancelled.
    virtual std::optional<QString> askText(const TextQuestion&) { return std::nullopt; }
    // Several existing files; empty when the user cancelled.
    virtual QStringList chooseOpenFiles(const FileChoice& choice);
    // An existing folder (choice.directory proposed); empty when the user cancelled.
    virtual QString chooseDirectory(const FileChoice&) { return {}; }

    // The usual boxes: an error or information with OK and Help, a question with Yes and No.
    MessageButton error(const QString& text, int helpContext = 0);
    MessageButton information(const QString& text, int helpContext = 0);
    MessageButton confirm(const QString& text, MessageButtons buttons, int helpContext = 0);
};
