#pragma once

#include <QObject>

class TMain;
class MessageService;

// "Discogs-Sammlung im&portieren..." and "Discogs-Sammlung e&xportieren..." of the "Datei"
// menu: a collection file exchanged with Discogs, in and out.
class DiscogsCommands : public QObject {
    Q_OBJECT
public:
    DiscogsCommands(TMain& main, MessageService& messages);

    // Registers MainCommand::ImportDiscogs and MainCommand::ExportDiscogs.
    void install();

    // The file choice, then the preview in which the user decides.
    void importCollection();
    // The file choice, then every carrier written; true when the file was written.
    bool exportCollection();

private:
    TMain& m_main;
    MessageService& m_messages;
};
