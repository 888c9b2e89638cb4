#pragma once

#include "entrypage.h"

#include <QObject>

class TMain;
class MessageService;
class TMainTtDialog;

// "Tonträger &erfassen" and the opening of a carrier for editing, which the lists use.
class CatalogueCommands : public QObject {
    Q_OBJECT
public:
    CatalogueCommands(TMain& main, MessageService& messages);

    // Registers "Tonträger &erfassen" and the Discogs exchange with the main window.
    void install();

    TMainTtDialog* newCarrier();
    // Brings the open window of the carrier to the front, or opens one; an unknown number
    // gets a message and no window.
    TMainTtDialog* openCarrier(int number);

    // What every entry window gets; tests replace the CD parts.
    EntryWindowHooks& hooks() { return m_hooks; }

private:
    TMainTtDialog* open(int number);

    TMain& m_main;
    MessageService& m_messages;
    EntryWindowHooks m_hooks;
};
