#pragma once

#include "core/catalogue/medialist.h"
#include "core/catalogue/searchcondition.h"
#include "posbrowsewindow.h"

#include <QObject>
#include <functional>

class TMain;
class MessageService;
class TSearchDialog;

// "Suche nach &Tonträgern..." and "Suche nach &Liedern...": the dialogs, the counters that
// number the result windows of this run, and the song list windows.
class SearchCommands : public QObject {
    Q_OBJECT
public:
    SearchCommands(TMain& main, MessageService& messages);

    // Registers MainCommand::SearchCarriers and MainCommand::SearchSongs.
    void install();

    // The carrier search's result: a media list window for the number and the conditions.
    std::function<void(int searchNumber, const medialist::Filter& filter)> openCarrierResult;
    // The song list's commands on the row's carrier.
    std::function<void(int carrierNumber)> editCarrier;
    std::function<void(int carrierNumber)> displayCarrier;
    std::function<void(int carrierNumber)> printCarrier;
    std::function<void(int carrierNumber)> printCover;
    std::function<bool()> hasPrinter; // empty: the printers offered now
    // Runs a dialog modally; tests fill it instead. True when the user chose "&Ok".
    std::function<bool(TSearchDialog& dialog)> runDialog;

    void searchCarriers();
    void searchSongs();
    // What "&Ok" does: counts the search and opens its result window.
    void openCarrierSearch(const std::vector<search::Condition>& conditions);
    TPosBrowseWindow* openSongSearch(const std::vector<search::Condition>& conditions);

private:
    bool run(TSearchDialog& dialog);
    medialist::Filter translate(search::Kind kind,
                                const std::vector<search::Condition>& conditions);

    TMain& m_main;
    MessageService& m_messages;
    int m_carrierSearches = 0;
    int m_songSearches = 0;
};
