#include "consolemessageservice.h"

MessageButton ConsoleMessageService::show(const Message& message) {
    static const char* const kKinds[] = {"Fehler", "Warnung", "Information", "Frage"};
    QTextStream err(stderr);
    err << kKinds[int(message.kind)] << ": " << message.text;
    if (message.helpContext)
        err << " [Hilfe " << message.helpContext << "]";
    err << Qt::endl;
    const MessageButtons b = message.buttons;
    if (message.kind == MessageKind::Confirmation) {
        const MessageButton yes =
            b.testFlag(MessageButton::Ok) ? MessageButton::Ok : MessageButton::Yes;
        const MessageButton no =
            b.testFlag(MessageButton::Cancel) ? MessageButton::Cancel : MessageButton::No;
        const MessageButton answer = m_answerYes ? yes : no;
        err << "  Antwort: "
            << (answer == MessageButton::Ok    ? "OK"
                : answer == MessageButton::Yes ? "Ja"
                : answer == MessageButton::No  ? "Nein"
                                               : "Abbrechen")
            << Qt::endl;
        return answer;
    }
    return b.testFlag(MessageButton::Ok) ? MessageButton::Ok : MessageButton::None;
}
