#include "searchcommands.h"

#include "core/catalogue/searchtranslation.h"
#include "core/common/messageservice.h"
#include "core/db/songindex.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/mainwindow.h"
#include "searchsongdialog.h"

SearchCommands::SearchCommands(TMain& main, MessageService& messages)
    : QObject(&main), m_main(main), m_messages(messages) {}

void SearchCommands::install() {
    m_main.setCommandHandler(MainCommand::SearchCarriers, [this] { searchCarriers(); });
    m_main.setCommandHandler(MainCommand::SearchSongs, [this] { searchSongs(); });
}

bool SearchCommands::run(TSearchDialog& dialog) {
    dialog.setHelpHandler([this](int context) { m_main.help().showContext(context); });
    return runDialog ? runDialog(dialog) : dialog.exec() == QDialog::Accepted;
}

void SearchCommands::searchCarriers() {
    TSearchDialog dialog(m_main.state(), m_messages, &m_main);
    if (run(dialog) && !dialog.conditions().isEmpty())
        openCarrierSearch(dialog.conditions().conditions());
}

void SearchCommands::searchSongs() {
    TSearchSongDialog dialog(m_main.state(), m_messages, &m_main);
    if (run(dialog) && !dialog.conditions().isEmpty())
        openSongSearch(dialog.conditions().conditions());
}

medialist::Filter SearchCommands::translate(search::Kind kind,
                                            const std::vector<search::Condition>& conditions) {
    search::TranslateOptions options;
    if (kind == search::Kind::Songs) {
        try {
            options.songIndex = songindex::isUsable(m_main.state().db);
        } catch (const DbError&) {
            // without the index every song is compared
        }
    }
    return search::translate(kind, conditions, options);
}

void SearchCommands::openCarrierSearch(const std::vector<search::Condition>& conditions) {
    const int number = ++m_carrierSearches;
    if (openCarrierResult)
        openCarrierResult(number, translate(search::Kind::Carriers, conditions));
}

TPosBrowseWindow* SearchCommands::openSongSearch(const std::vector<search::Condition>& conditions) {
    const int number = ++m_songSearches;
    SongListHooks hooks;
    hooks.editCarrier = editCarrier;
    hooks.displayCarrier = displayCarrier;
    hooks.printCarrier = printCarrier;
    hooks.printCover = printCover;
    hooks.hasPrinter = hasPrinter;
    hooks.help = [this](int context) { m_main.help().showContext(context); };
    auto* window = new TPosBrowseWindow(m_main, m_messages, hooks, number,
                                        translate(search::Kind::Songs, conditions));
    if (!window->FormCreate()) {
        delete window;
        return nullptr;
    }
    m_main.addChildWindow(window);
    return window;
}
