#pragma once

#include <QObject>

class TMain;
class MessageService;

// The four "&Statistik..." commands of the main window, each opening the statistics window
// for its grouping, and "&Liste drucken..." with the list print dialog; all modal.
class StatisticsCommands : public QObject {
    Q_OBJECT
public:
    StatisticsCommands(TMain& main, MessageService& messages);

    void install();
    void openStatistics(int kind);
    // With the checks of the command: a printer and a list template.
    void printList();

private:
    TMain& m_main;
    MessageService& m_messages;
};
