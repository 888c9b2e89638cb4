#include "printcommands.h"

#include "core/common/messageservice.h"
#include "core/printing/carrierreport.h"
#include "editprinttextdialog.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/printerchoice.h"
#include "gui/shell/windowplacement.h"
#include "previewdialog.h"
#include "printcoverdialog.h"
#include "printttdialog.h"
#include "selprinttextdialog.h"

#include <QMdiArea>
#include <QMdiSubWindow>

PrintCommands::PrintCommands(TMain& main, MessageService& messages)
    : QObject(&main), m_main(main), m_messages(messages) {}

void PrintCommands::install() {
    m_main.setCommandHandler(MainCommand::ListTemplates, [this] { openTemplateList(1); });
    m_main.setCommandHandler(MainCommand::CarrierTemplates, [this] { openTemplateList(2); });
    m_main.setCommandHandler(MainCommand::ReminderTemplates, [this] { openTemplateList(3); });
    m_main.setCommandHandler(MainCommand::LendingTemplates, [this] { openTemplateList(4); });
    m_main.setCommandHandler(MainCommand::PrintAll, [this] { printAll(); });
}

TPreviewDialog* PrintCommands::preview() {
    if (!TPreviewDialog::instance()) {
        auto* created = new TPreviewDialog(m_main.state(), m_messages, &m_main);
        created->setHelpHandler([this](int context) { m_main.help().showContext(context); });
    }
    return TPreviewDialog::instance();
}

void PrintCommands::openTemplateList(int type) {
    QMdiArea& area = *m_main.mdiArea();
    for (QMdiSubWindow* window : area.subWindowList()) {
        auto* list = qobject_cast<TSelPrintTextDialog*>(window->widget());
        if (list && list->type() == type) {
            windowplacement::bringToFront(area, *window);
            return;
        }
    }
    auto* list = new TSelPrintTextDialog(m_main.state(), m_messages, area, type);
    list->helpHandler = [this](int context) { m_main.help().showContext(context); };
    list->showEditor = [this, &area](TEditPrintTextDialog* editor) {
        editor->helpHandler = [this](int context) { m_main.help().showContext(context); };
        editor->menusChanged = [this] { m_main.childMenusChanged(); };
        // Every list of the type re-reads, whichever one opened the editor.
        editor->saved = [&area](int savedType) {
            for (QMdiSubWindow* window : area.subWindowList())
                if (auto* l = qobject_cast<TSelPrintTextDialog*>(window->widget());
                    l && l->type() == savedType)
                    l->refresh();
        };
        m_main.addChildWindow(editor)->show();
    };
    m_main.addChildWindow(list)->show();
}

bool PrintCommands::carrierExists(int carrierNumber) {
    if (carrierreport::carrierStored(m_main.state().db, carrierNumber))
        return true;
    m_messages.information(carrierreport::kCarrierGone);
    return false;
}

void PrintCommands::printAll() {
    if (!printercheck::readyToPrint(m_main.state().db, printerchoice::availablePrinters(),
                                    m_messages, 2, carrierreport::kNoTemplatesAll,
                                    carrierreport::kNoTemplatesAllHelp))
        return;
    TPrintAllTtDialog dialog(m_main.state(), m_messages, *preview(), &m_main);
    dialog.setHelpHandler([this](int context) { m_main.help().showContext(context); });
    dialog.exec();
}

void PrintCommands::openPrintCarrierDialog(int carrierNumber) {
    if (!printercheck::readyToPrint(m_main.state().db, printerchoice::availablePrinters(),
                                    m_messages, 2, carrierreport::kNoTemplates,
                                    carrierreport::kNoTemplatesHelp) ||
        !carrierExists(carrierNumber))
        return;
    TPrintTtDialog dialog(m_main.state(), m_messages, *preview(), carrierNumber, &m_main);
    dialog.setHelpHandler([this](int context) { m_main.help().showContext(context); });
    dialog.exec();
}

void PrintCommands::openPrintCoverDialog(int carrierNumber) {
    if (!printerchoice::checkPrinterDefined(m_messages) || !carrierExists(carrierNumber))
        return;
    TPrintCoverDialog dialog(m_main.state(), m_messages, *preview(), carrierNumber, &m_main);
    dialog.setHelpHandler([this](int context) { m_main.help().showContext(context); });
    dialog.exec();
}
