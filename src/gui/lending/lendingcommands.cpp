#include "lendingcommands.h"

#include "core/common/messageservice.h"
#include "core/lending/lending.h"
#include "gui/printing/previewdialog.h"
#include "gui/shell/childwindow.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/mainwindow.h"
#include "tprintlendlistdialog.h"
#include "tprintmahndialog.h"
#include "tvwdialog.h"
#include "tvwlenddialog.h"
#include "tvwlendedttdialog.h"

LendingCommands::LendingCommands(TMain& main, MessageService& messages)
    : QObject(&main), m_main(main),
      m_context(std::make_unique<LendingContext>(main.state(), messages)) {
    m_context->help = [this](int context) { m_main.help().showContext(context); };
    m_context->preview = [this, &messages] {
        if (!TPreviewDialog::instance()) {
            auto* created = new TPreviewDialog(m_main.state(), messages, &m_main);
            created->setHelpHandler([this](int context) { m_main.help().showContext(context); });
        }
        return TPreviewDialog::instance();
    };
}

LendingCommands::~LendingCommands() = default;

void LendingCommands::install() {
    m_main.setCommandHandler(MainCommand::Lending, [this] { openManagement(); });
}

void LendingCommands::openManagement() {
    TVwDialog dialog(*m_context, &m_main);
    dialog.openOverview = [this](int borrower) { openOverview(borrower); };
    dialog.openList = [this](int borrower) { openList(borrower); };
    dialog.exec();
}

void LendingCommands::openOverview(int borrower) {
    TVwLendedTtDialog dialog(*m_context, borrower, &m_main);
    dialog.returnCarrier = [this](int carrier) { openReturn(carrier); };
    dialog.remind = [this](int carrier, qint32 number) { openReminder(carrier, number); };
    dialog.exec();
}

void LendingCommands::openList(int borrower) {
    TPrintLendListDialog dialog(*m_context, borrower, &m_main);
    dialog.exec();
}

void LendingCommands::openReturn(int carrierNumber) {
    TVwLendDialog dialog(*m_context, false, carrierNumber, &m_main);
    dialog.exec();
}

void LendingCommands::openReminder(int carrierNumber, qint32 lendingNumber) {
    TPrintMahnDialog dialog(*m_context, carrierNumber, lendingNumber, &m_main);
    dialog.exec();
}

void LendingCommands::lendCarrier(int carrierNumber) {
    const std::optional<double> status = lending::carrierStatus(m_main.state().db, carrierNumber);
    if (status == -1.0) {
        m_context->messages.error(lending::kAlreadyLent, lending::kAlreadyLentHelp);
        return;
    }
    TVwLendDialog dialog(*m_context, true, carrierNumber, &m_main);
    dialog.exec();
}

void LendingCommands::returnCarrier(int carrierNumber) {
    const std::optional<double> status = lending::carrierStatus(m_main.state().db, carrierNumber);
    if (status != -1.0) {
        m_context->messages.error(lending::kNotLent, lending::kNotLentHelp);
        return;
    }
    openReturn(carrierNumber);
}
