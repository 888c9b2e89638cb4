#include "statisticscommands.h"

#include "core/printing/statistics.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/mainwindow.h"
#include "statistikdialog.h"

StatisticsCommands::StatisticsCommands(TMain& main, MessageService& messages)
    : QObject(&main), m_main(main), m_messages(messages) {}

void StatisticsCommands::install() {
    m_main.setCommandHandler(MainCommand::StatisticsMediaTypes,
                             [this] { openStatistics(statistics::MediaTypes); });
    m_main.setCommandHandler(MainCommand::StatisticsDirections,
                             [this] { openStatistics(statistics::Directions); });
    m_main.setCommandHandler(MainCommand::StatisticsStates,
                             [this] { openStatistics(statistics::States); });
    m_main.setCommandHandler(MainCommand::StatisticsYears,
                             [this] { openStatistics(statistics::Years); });
}

void StatisticsCommands::openStatistics(int kind) {
    TStatistikDialog dialog(m_main.state(), m_messages, kind, &m_main);
    dialog.setHelpHandler([this](int context) { m_main.help().showContext(context); });
    dialog.exec();
}
