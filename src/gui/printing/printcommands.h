#pragma once

#include <QObject>

class TMain;
class MessageService;
class TPreviewDialog;

// The template windows of "Hilfsdatenbanken", "Alle Tonträger drucken...", and the
// carrier sheet and cover dialogs the carrier windows open for a carrier number.
class PrintCommands : public QObject {
    Q_OBJECT
public:
    PrintCommands(TMain& main, MessageService& messages);

    // Registers the four template commands and print all with the main window.
    void install();

    void openTemplateList(int type);
    void printAll();
    // With the checks of the carrier windows: a printer, a template of type 2, the carrier.
    void openPrintCarrierDialog(int carrierNumber);
    void openPrintCoverDialog(int carrierNumber);

private:
    TPreviewDialog* preview();
    bool carrierExists(int carrierNumber);

    TMain& m_main;
    MessageService& m_messages;
};
