#pragma once

#include "core/catalogue/medialist.h"

#include <QObject>
#include <functional>

class TMain;
class MessageService;
class THeadBrowseWindow;
class TDisplayHeadAndPos;

// "Tonträger &bearbeiten" (the carrier list) and "Tonträger &importieren", and the display
// window the list opens. The entry window, lending and printing are reached through hooks;
// a command whose hook is empty stays disabled.
class MediaListCommands : public QObject {
    Q_OBJECT
public:
    MediaListCommands(TMain& main, MessageService& messages);

    // Registers MainCommand::EditCarriers and MainCommand::ImportCarrier.
    void install();

    // Opens the entry window for a stored carrier ("Ändern", Enter, double click).
    std::function<void(int carrierNumber)> editCarrier;
    std::function<void(int carrierNumber)> lendCarrier;
    std::function<void(int carrierNumber)> returnCarrier;
    std::function<void(int carrierNumber)> printCarrier;
    std::function<void(int carrierNumber)> printCover;

    // Activates the list or opens it; nullptr when there is nothing to list.
    THeadBrowseWindow* openList();
    // A search result window "Tonträger bearbeiten: N".
    THeadBrowseWindow* openSearchResult(int searchNumber, const medialist::Filter& filter);
    // Activates the carrier's display window or opens it.
    TDisplayHeadAndPos* openDisplay(int carrierNumber);
    void importCarriers();

private:
    // A list window with its rows, not yet in the work area; nullptr when there are none.
    THeadBrowseWindow* create(int searchNumber, std::optional<medialist::Filter> filter);

    TMain& m_main;
    MessageService& m_messages;
};
