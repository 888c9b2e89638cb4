#include "statisticscommands.h"

#include "core/common/messageservice.h"
#include "core/printing/medialistreport.h"
#include "core/printing/statistics.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/printerchoice.h"
#include "previewdialog.h"
#include "printttlistdialog.h"
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
    m_main.setCommandHandler(MainCommand::PrintList, [this] { printList(); });
}

void StatisticsCommands::openStatistics(int kind) {
    TStatistikDialog dialog(m_main.state(), m_messages, kind, &m_main);
    dialog.setHelpHandler([this](int context) { m_main.help().showContext(context); });
    dialog.exec();
}

void StatisticsCommands::printList() {
    if (!printercheck::readyToPrint(m_main.state().db, printerchoice::availablePrinters(),
                                    m_messages, 1, medialistreport::kNoTemplates,
                                    medialistreport::kNoTemplatesHelp))
        return;
    TPreviewDialog* preview = TPreviewDialog::instance();
    if (!preview) {
        preview = new TPreviewDialog(m_main.state(), m_messages, &m_main);
        preview->setHelpHandler([this](int context) { m_main.help().showContext(context); });
    }
    TPrintTtListDialog dialog(m_main.state(), m_messages, *preview, &m_main);
    dialog.setHelpHandler([this](int context) { m_main.help().showContext(context); });
    dialog.exec();
}
