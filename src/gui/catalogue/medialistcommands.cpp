#include "medialistcommands.h"

#include "core/catalogue/carrierfile.h"
#include "core/catalogue/carrierimport.h"
#include "core/common/messageservice.h"
#include "displayheadandpos.h"
#include "gui/shell/helpviewer.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/windowplacement.h"
#include "headbrowsewindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

MediaListCommands::MediaListCommands(TMain& main, MessageService& messages)
    : QObject(&main), m_main(main), m_messages(messages) {}

void MediaListCommands::install() {
    m_main.setCommandHandler(MainCommand::EditCarriers, [this] { openList(); });
    m_main.setCommandHandler(MainCommand::ImportCarrier, [this] { importCarriers(); });
}

THeadBrowseWindow* MediaListCommands::openList() {
    QMdiSubWindow* list = m_main.activateOrOpen(
        QStringLiteral("media-list"), [this]() -> QWidget* { return create(0, std::nullopt); });
    return list ? qobject_cast<THeadBrowseWindow*>(list->widget()) : nullptr;
}

THeadBrowseWindow* MediaListCommands::openSearchResult(int searchNumber,
                                                       const medialist::Filter& filter) {
    THeadBrowseWindow* window = create(searchNumber, filter);
    if (window)
        m_main.addChildWindow(window);
    return window;
}

THeadBrowseWindow* MediaListCommands::create(int searchNumber,
                                             std::optional<medialist::Filter> filter) {
    MediaListHooks hooks;
    hooks.editCarrier = editCarrier;
    hooks.displayCarrier = [this](int n) { openDisplay(n); };
    hooks.lendCarrier = lendCarrier;
    hooks.returnCarrier = returnCarrier;
    hooks.printCarrier = printCarrier;
    hooks.printCover = printCover;
    hooks.help = [this](int context) { m_main.help().showContext(context); };
    auto* window =
        new THeadBrowseWindow(m_main, m_messages, hooks, searchNumber, std::move(filter));
    if (!window->FormCreate()) {
        delete window;
        return nullptr;
    }
    return window;
}

TDisplayHeadAndPos* MediaListCommands::openDisplay(int carrierNumber) {
    for (QMdiSubWindow* w : m_main.mdiArea()->subWindowList()) {
        if (auto* display = qobject_cast<TDisplayHeadAndPos*>(w->widget());
            display && display->carrierNumber() == carrierNumber) {
            windowplacement::bringToFront(*m_main.mdiArea(), *w);
            return display;
        }
    }
    TDisplayHeadAndPos::Hooks hooks;
    hooks.edit = editCarrier;
    hooks.print = printCarrier;
    hooks.help = [this](int context) { m_main.help().showContext(context); };
    auto* window = new TDisplayHeadAndPos(m_main.state(), carrierNumber, hooks);
    try {
        if (!window->FormCreate()) {
            delete window;
            m_messages.information(QStringLiteral("Der Tonträger ist nicht mehr vorhanden."));
            return nullptr;
        }
    } catch (const DbError& e) {
        delete window;
        m_messages.error(e.message());
        return nullptr;
    }
    m_main.addChildWindow(window);
    return window;
}

void MediaListCommands::importCarriers() {
    AppState& state = m_main.state();
    FileChoice choice;
    choice.title = QStringLiteral("Tonträger importieren");
    choice.helpContext = 34007;
    choice.directory = state.settings.exportImportPath;
    choice.filter = carrierfile::fileFilter();
    const QStringList files = m_messages.chooseOpenFiles(choice);
    if (files.isEmpty())
        return;
    for (const QString& file : files) {
        state.settings.exportImportPath = QFileInfo(file).absolutePath();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const carrierimport::Outcome outcome =
            carrierimport::importFile(state.db, file, state.settings.currencyNew);
        QApplication::restoreOverrideCursor();
        if (!outcome.ok)
            m_messages.error(outcome.message, 34008);
        else if (!outcome.note.isEmpty())
            m_messages.information(outcome.group + QStringLiteral(" / ") + outcome.title +
                                   QStringLiteral(": ") + outcome.note);
        QApplication::processEvents();
    }
    m_main.updateMenuItems();
}
