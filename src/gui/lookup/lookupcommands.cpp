#include "lookupcommands.h"

#include "core/lookup/lookupkinds.h"
#include "currencyeditdialog.h"
#include "editartdbdialog.h"
#include "editdbdialog.h"
#include "gui/printing/previewdialog.h"
#include "gui/shell/childwindow.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/printerchoice.h"
#include "printhelpdbdialog.h"
#include "selcurdialog.h"
#include "seldbdialog.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {
// The lookups without a help topic of their own open the page of all lookup windows.
constexpr int kLookupHelpPage = 40500;
} // namespace

LookupCommands::LookupCommands(TMain& main, MessageService& messages)
    : QObject(&main), m_main(main), m_messages(messages) {}

AppState& LookupCommands::state() {
    return m_main.state();
}

void LookupCommands::install() {
    using C = MainCommand;
    const std::pair<MainCommand, int> commands[] = {
        {C::Currencies, lookup::kCurrencies},
        {C::MediaTypes, lookup::kMediaTypes},
        {C::MusicDirections, lookup::kMusicDirections},
        {C::States, lookup::kStates},
        {C::DanceStyles, lookup::kDanceStyles},
        {C::VideoCategories, 4},
        {C::VideoCassetteTypes, 5},
        {C::VideoAudioTypes, 6},
        {C::VideoLanguages, 7},
    };
    for (const auto& [command, kind] : commands)
        m_main.setCommandHandler(command, [this, kind = kind] { openSelection(kind); });
}

QMdiSubWindow* LookupCommands::openSelection(int kind) {
    return m_main.activateOrOpen(QStringLiteral("lookup:%1").arg(kind), [this, kind]() -> QWidget* {
        if (kind == lookup::kCurrencies)
            return new TSelCurDialog(*this);
        if (lookup::isVideoKind(kind))
            return new TSelVideoKatDialog(*this, kind);
        return new TSelDBDialog(*this, kind);
    });
}

QMdiSubWindow* LookupCommands::openEditor(int kind, std::optional<double> key) {
    LookupEditWindow* window = nullptr;
    if (kind == lookup::kCurrencies)
        window = new TCurrencyEditDialog(*this, key);
    else if (kind == lookup::kMediaTypes)
        window = new TEditArtDBDialog(*this, key);
    else
        window = new TEditDBDialog(*this, kind, key);
    if (!window->isLoaded()) {
        delete window;
        return nullptr;
    }
    QMdiSubWindow* sub = m_main.addChildWindow(window);
    m_main.mdiArea()->setActiveSubWindow(sub);
    return sub;
}

QMdiSubWindow* LookupCommands::findEditor(int kind, double key) const {
    for (QMdiSubWindow* w : m_main.mdiArea()->subWindowList()) {
        const auto* editor = dynamic_cast<const LookupEditWindow*>(w->widget());
        if (editor && editor->kind() == kind && editor->key() && *editor->key() == key)
            return w;
    }
    return nullptr;
}

void LookupCommands::printList(int kind) {
    if (!printerchoice::checkPrinterDefined(m_messages))
        return;
    if (!TPreviewDialog::instance())
        return;
    if (kind == lookup::kCurrencies) {
        TPrintCurrencyDialog dialog(*this, &m_main);
        dialog.exec();
    } else {
        TPrintHelpDBDialog dialog(*this, kind, &m_main);
        dialog.exec();
    }
}

int LookupCommands::nextRunningNumber() {
    return ++state().newEntryNumber;
}

void LookupCommands::showHelp(int context) {
    m_main.help().showContext(context > 0 ? context : kLookupHelpPage);
}
