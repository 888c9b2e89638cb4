#include "cdplayercommands.h"

#include "cdplayerwindow.h"
#include "core/cd/cdplayerengine.h"
#include "core/cd/qtaudiosink.h"
#include "gui/shell/mainwindow.h"

#include <QMdiSubWindow>
#include <QTimer>

CdPlayerCommands::CdPlayerCommands(TMain& main, MessageService& messages)
    : QObject(&main), m_main(main), m_messages(messages) {}

CdPlayerCommands::~CdPlayerCommands() = default;

void CdPlayerCommands::install() {
    m_main.setCommandHandler(MainCommand::CdPlayer, [this] { open(); });
}

void CdPlayerCommands::setPlayer(std::unique_ptr<CdPlayer> player) {
    m_player = std::move(player);
}

CdPlayer& CdPlayerCommands::player() {
    if (!m_player)
        m_player = std::make_unique<CdPlayerEngine>(std::make_unique<QtAudioSink>());
    return *m_player;
}

TCDPlayerWindow* CdPlayerCommands::open() {
    AppState& state = m_main.state();
    QMdiSubWindow* frame = m_main.activateOrOpen(QStringLiteral("cd-player"), [&]() -> QWidget* {
        auto* window = new TCDPlayerWindow(state, m_messages, player());
        state.cdPlayerOpen = true;
        connect(window, &QObject::destroyed, &m_main, [&state, main = &m_main] {
            state.cdPlayerOpen = false;
            QTimer::singleShot(0, main, &TMain::updateMenuItems);
        });
        return window;
    });
    m_main.updateMenuItems();
    return frame ? qobject_cast<TCDPlayerWindow*>(frame->widget()) : nullptr;
}
