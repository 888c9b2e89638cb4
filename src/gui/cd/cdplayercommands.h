#pragma once

#include <QObject>
#include <memory>

class TMain;
class MessageService;
class CdPlayer;
class TCDPlayerWindow;

// The command "&CD-Player" and the one player of the program, which outlives its window:
// a window closed with the disc playing leaves it playing, and the next window finds it so.
// The program's end stops it.
class CdPlayerCommands : public QObject {
    Q_OBJECT
public:
    CdPlayerCommands(TMain& main, MessageService& messages);
    ~CdPlayerCommands() override;

    void install();
    // Brings the open player window to the front or opens one.
    TCDPlayerWindow* open();

    // Tests hand in their own device before the first window opens.
    void setPlayer(std::unique_ptr<CdPlayer> player);
    CdPlayer& player();

private:
    TMain& m_main;
    MessageService& m_messages;
    std::unique_ptr<CdPlayer> m_player;
};
