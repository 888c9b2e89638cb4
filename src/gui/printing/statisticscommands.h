#pragma once

#include <QObject>

class TMain;
class MessageService;

// The four "&Statistik..." commands of the main window: each opens the statistics window
// for its grouping, modally.
class StatisticsCommands : public QObject {
    Q_OBJECT
public:
    StatisticsCommands(TMain& main, MessageService& messages);

    void install();
    void openStatistics(int kind);

private:
    TMain& m_main;
    MessageService& m_messages;
};
