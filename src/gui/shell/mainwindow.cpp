#include "mainwindow.h"

#include "aboutdialogs.h"
#include "childframe.h"
#include "childwindow.h"
#include "core/common/germanformat.h"
#include "core/common/inifile.h"
#include "core/db/recordaccess.h"
#include "core/shell/menustate.h"
#include "gui/printing/previewdialog.h"
#include "helpviewer.h"
#include "hintfilter.h"
#include "printerchoice.h"
#include "readmedialog.h"
#include "settingsdialog.h"
#include "tipdialog.h"
#include "windowplacement.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace {

using C = MainCommand;

// Commands that need at least one carrier (the menu entry "Verleihver&waltung..." does not).
bool isDataCommand(MainCommand c) {
    return c == C::EditCarriers || c == C::StatisticsMediaTypes || c == C::StatisticsDirections ||
           c == C::StatisticsStates || c == C::StatisticsYears || c == C::SearchSongs ||
           c == C::SearchCarriers || c == C::PrintList || c == C::PrintAll || c == C::ExportDiscogs;
}

bool isWindowCommand(MainCommand c) {
    return c == C::Tile || c == C::Cascade || c == C::CloseAll || c == C::ArrangeIcons ||
           c == C::MinimizeAll;
}

QIcon iconFor(MainCommand c) {
    QStyle* style = QApplication::style();
    auto themed = [style](const char* name, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QString::fromLatin1(name), style->standardIcon(fallback));
    };
    switch (c) {
    case C::EditCarriers:
        return themed("view-list-details", QStyle::SP_FileDialogDetailedView);
    case C::NewCarrier:
        return themed("document-new", QStyle::SP_FileIcon);
    case C::PrintList:
        return themed("document-print", QStyle::SP_FileDialogContentsView);
    case C::Lending:
        return themed("contact-new", QStyle::SP_DirLinkIcon);
    case C::CdPlayer:
        return themed("media-optical-audio", QStyle::SP_MediaPlay);
    case C::SearchCarriers:
        return themed("edit-find", QStyle::SP_FileDialogContentsView);
    case C::SearchSongs:
        return themed("system-search", QStyle::SP_FileDialogInfoView);
    case C::PrinterSetup:
        return themed("document-print-setup", QStyle::SP_ComputerIcon);
    case C::Settings:
        return themed("preferences-system", QStyle::SP_FileDialogListView);
    case C::HelpIndex:
        return themed("help-contents", QStyle::SP_DialogHelpButton);
    case C::Exit:
        return themed("application-exit", QStyle::SP_DialogCloseButton);
    case C::Tile:
        return themed("view-grid", QStyle::SP_ToolBarHorizontalExtensionButton);
    case C::Cascade:
        return themed("window-duplicate", QStyle::SP_TitleBarMaxButton);
    case C::ArrangeIcons:
        return themed("view-sort", QStyle::SP_TitleBarMinButton);
    default:
        return {};
    }
}

const char* const kWeekdays[] = {"Montag",  "Dienstag", "Mittwoch", "Donnerstag",
                                 "Freitag", "Samstag",  "Sonntag"};

} // namespace

TMain::TMain(AppState& state, HintFilter& hints, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_hintFilter(hints), m_messages(this) {
    setWindowTitle(QStringLiteral("Diskarium"));
    setObjectName(QStringLiteral("MainForm"));
    qApp->installEventFilter(this);
    qApp->installEventFilter(new windowplacement::ScreenFitFilter(this));
    resize(1024, 720);
    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    m_messages.setHelpHandler([this](int context) { help().showContext(context); });

    createActions();
    createMenus();
    createToolBars();
    createStatusBar();
    registerBuiltInCommands();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &TMain::childActivated);
    connect(&m_state.db.notifier(), &ChangeNotifier::changed, this,
            [this](Change what, int) { dataChanged(what); });
    // Created disabled; the first show enables it after a short delay.
    setEnabled(false);
}

TMain::~TMain() {
    // Children destroyed with the frame must not report activations to a half-gone window.
    disconnect(m_mdi, nullptr, this, nullptr);
}

HelpViewer& TMain::help() {
    if (!m_help)
        m_help = new HelpViewer(this);
    return *m_help;
}

void TMain::createActions() {
    for (const CommandInfo& info : mainCommands()) {
        auto* a = new QAction(iconFor(info.command), info.caption, this);
        a->setShortcut(info.shortcut);
        a->setStatusTip(info.hint);
        a->setToolTip(info.hint);
        a->setProperty("helpContext", info.helpContext);
        a->setEnabled(false); // until a handler is registered
        connect(a, &QAction::triggered, this, [this, c = info.command] { runCommand(c); });
        m_actions.insert(info.command, a);
    }
    m_actions[C::ScannerSource]->setVisible(m_state.scannerAvailable);
}

void TMain::createMenus() {
    QMenu* statistics = nullptr;
    for (const MenuInfo& menuInfo : mainMenus()) {
        QMenu* menu = menuBar()->addMenu(menuInfo.caption);
        menu->setProperty("helpContext", menuInfo.helpContext);
        if (menuInfo.menu == MainMenu::Window) {
            m_windowMenu = menu;
            m_beforeWindowMenu = menu->menuAction();
        }
        for (const CommandInfo& info : mainCommands()) {
            if (info.menu == MainMenu::Statistics && menuInfo.menu == MainMenu::File &&
                !statistics) {
                statistics = menu->addMenu(QStringLiteral("&Statistik..."));
                statistics->setProperty("helpContext", 10007);
                statistics->menuAction()->setStatusTip(
                    QStringLiteral("Zeigt und druckt Statistiken der Sammlung"));
            }
            if (info.menu == MainMenu::Statistics && menuInfo.menu == MainMenu::File) {
                statistics->addAction(m_actions[info.command]);
                continue;
            }
            if (info.menu != menuInfo.menu)
                continue;
            if (info.separatorBefore) {
                QAction* separator = menu->addSeparator();
                if (info.command == C::ScannerSource)
                    separator->setVisible(m_state.scannerAvailable);
            }
            menu->addAction(m_actions[info.command]);
        }
    }
    m_windowListSeparator = m_windowMenu->addSeparator();
    connect(m_windowMenu, &QMenu::aboutToShow, this, &TMain::fillWindowMenu);
}

void TMain::createToolBars() {
    for (const ToolBarInfo& info : mainToolBars()) {
        QToolBar* bar = addToolBar(info.title);
        bar->setObjectName(info.title);
        for (const ToolButtonInfo& button : info.buttons) {
            if (button.separatorBefore)
                bar->addSeparator();
            QAction* menuAction = m_actions[button.command];
            auto* a = new QAction(menuAction->icon(), button.caption, bar);
            a->setStatusTip(menuAction->statusTip());
            a->setToolTip(menuAction->statusTip());
            a->setEnabled(false);
            a->setData(int(button.command));
            connect(a, &QAction::triggered, menuAction, &QAction::trigger);
            bar->addAction(a);
            m_toolButtons.append(a);
        }
        m_toolBars.append(bar);
    }
}

QToolBar* TMain::toolBar(int index) const {
    return m_toolBars.value(index);
}

void TMain::createStatusBar() {
    QStatusBar* bar = statusBar();
    m_date = new QLabel(bar);
    m_weekday = new QLabel(bar);
    m_time = new QLabel(bar);
    for (QLabel* panel : {m_date, m_weekday, m_time}) {
        panel->setAlignment(Qt::AlignCenter);
        panel->setMinimumWidth(90);
        bar->addPermanentWidget(panel);
    }
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bar, &QWidget::customContextMenuRequested, this, [this, bar](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Statuszeile ausschalten"), this, [this] {
            statusBar()->hide();
            m_state.settings.showStatusbar = false;
        });
        menu.exec(bar->mapToGlobal(at));
    });
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &TMain::refreshClock);
    clock->start(1000);
    refreshClock();
}

void TMain::refreshClock() {
    const QDateTime now = QDateTime::currentDateTime();
    m_date->setText(germanformat::formatDate(now.date()));
    m_weekday->setText(QString::fromUtf8(kWeekdays[now.date().dayOfWeek() - 1]));
    m_time->setText(now.time().toString(QStringLiteral("HH:mm:ss")));
}

QMenu* TMain::createPopupMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(QStringLiteral("&Symbolleiste ausschalten"), this, [this] {
        for (QToolBar* bar : m_toolBars)
            bar->hide();
        m_state.settings.showToolbar = false;
    });
    menu->addSeparator();
    auto* group = new QActionGroup(menu);
    const std::pair<const char*, int> modes[] = {
        {"Bilder &und Text", 3}, {"Nur &Bilder", 1}, {"Nur &Text", 2}};
    for (const auto& [caption, mode] : modes) {
        QAction* a = menu->addAction(QString::fromUtf8(caption), this,
                                     [this, m = mode] { setButtonType(m); });
        a->setCheckable(true);
        a->setChecked(m_buttonType == mode);
        group->addAction(a);
    }
    return menu;
}

void TMain::setButtonType(int mode) {
    if (mode < 1 || mode > 3)
        return; // the tool bars stay as they were built
    m_buttonType = mode;
    const Qt::ToolButtonStyle style = mode == 1   ? Qt::ToolButtonIconOnly
                                      : mode == 2 ? Qt::ToolButtonTextOnly
                                                  : Qt::ToolButtonTextUnderIcon;
    for (QToolBar* bar : m_toolBars)
        bar->setToolButtonStyle(style);
    for (QAction* a : std::as_const(m_actions))
        a->setIconVisibleInMenu(mode != 2);
    m_state.settings.buttonType = mode;
}

void TMain::applySettings() {
    for (QToolBar* bar : m_toolBars)
        bar->setVisible(m_state.settings.showToolbar);
    statusBar()->setVisible(m_state.settings.showStatusbar);
    setButtonType(m_state.settings.buttonType);
    applyWindowMode();
    restoreWindowPlacement();
    selectLastPrinter();
}

void TMain::applyWindowMode() {
    m_mdi->setViewMode(m_state.settings.tabbedWindows ? QMdiArea::TabbedView
                                                      : QMdiArea::SubWindowView);
    m_mdi->setTabsClosable(true);
    m_mdi->setTabsMovable(true);
    scheduleMenuUpdate(); // tabs cannot be tiled or minimised
}

void TMain::selectLastPrinter() {
    m_state.currentPrinter = printerchoice::initialPrinter(m_state.settings.lastPrinter);
}

void TMain::setHintsEnabled(bool enabled) {
    m_hintFilter.setHintsEnabled(enabled);
    if (!enabled)
        statusBar()->clearMessage();
    forEachChild([enabled](ChildWindow& c) { c.hintsChanged(enabled); });
}

void TMain::setCommandHandler(MainCommand command, std::function<void()> handler) {
    m_handlers[command] = std::move(handler);
    // Many commands register at once; the carrier count is read once for all of them.
    scheduleMenuUpdate();
}

void TMain::scheduleMenuUpdate() {
    if (!m_updatePending) {
        m_updatePending = true;
        QTimer::singleShot(0, this, [this] {
            if (m_updatePending)
                updateMenuItems();
        });
    }
}

void TMain::runCommand(MainCommand command) {
    const auto handler = m_handlers.value(command);
    if (handler && m_actions[command]->isEnabled())
        guarded(handler);
}

void TMain::guarded(const std::function<void()>& work) {
    try {
        work();
    } catch (const DbError& e) {
        m_messages.error(
            e.isBusy()
                ? e.message()
                : QStringLiteral("Der Befehl konnte nicht ausgeführt werden: %1").arg(e.message()));
        updateMenuItems();
    }
}

std::function<void(int)> TMain::guardedHook(std::function<void(int)> hook) {
    return [this, hook = std::move(hook)](int number) { guarded([&] { hook(number); }); };
}

void TMain::updateMenuItems() {
    m_updatePending = false;
    MenuInputs in;
    in.childWindows = int(m_mdi->subWindowList().size());
    in.busy = m_state.busy;
    in.cdDrivePresent = m_state.cdDrivePresent();
    in.cdPlayerOpen = m_state.cdPlayerOpen;
    if (!m_state.busy && m_state.db.isOpen()) {
        try {
            // Only "none or some" matters: no count over the whole table.
            in.carriers = records::hasRows(m_state.db, schema::table(u"MUSIKKOP")) ? 1 : 0;
        } catch (const DbError&) {
            in.carriers = 0;
        }
    }
    const MenuState menus = menuStateFor(in);
    auto enabledFor = [&](MainCommand c, bool isButton) {
        bool on = m_handlers.contains(c);
        if (isWindowCommand(c))
            on = on && menus.windowCommands;
        // Arranging would pull the tabs apart into loose windows inside the tab area.
        if (isWindowCommand(c) && c != C::CloseAll)
            on = on && m_mdi->viewMode() == QMdiArea::SubWindowView;
        if (isDataCommand(c))
            on = on && menus.dataCommands;
        if (c == C::Lending && isButton) // the menu entry stays enabled, the button does not
            on = on && menus.dataCommands;
        if (c == C::CdPlayer)
            on = on && menus.cdPlayer;
        return on;
    };
    for (auto it = m_actions.begin(); it != m_actions.end(); ++it)
        it.value()->setEnabled(enabledFor(it.key(), false));
    for (QAction* button : std::as_const(m_toolButtons))
        button->setEnabled(enabledFor(MainCommand(button->data().toInt()), true));
}

namespace {
constexpr const char* kWindowKey = "windowKey";
}

QMdiSubWindow* TMain::findChildWindow(const QString& key) const {
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (w->property(kWindowKey).toString() == key)
            return w;
    }
    return nullptr;
}

QMdiSubWindow* TMain::addChildWindow(QWidget* widget) {
    QMdiSubWindow* w = addChildFrame(*m_mdi, widget);
    connect(w, &QObject::destroyed, this,
            [this] { QTimer::singleShot(0, this, &TMain::updateMenuItems); });
    w->show();
    windowplacement::fitIntoArea(*m_mdi, *w);
    windowplacement::bringToFront(*m_mdi, *w);
    updateMenuItems();
    return w;
}

void TMain::fieldLabelsChanged() {
    forEachChild([](ChildWindow& c) { c.fieldLabelsChanged(); });
}

void TMain::childMenusChanged() {
    childActivated(m_mdi->activeSubWindow());
}

QMdiSubWindow* TMain::activateOrOpen(const QString& key, const std::function<QWidget*()>& create) {
    if (QMdiSubWindow* existing = findChildWindow(key)) {
        windowplacement::bringToFront(*m_mdi, *existing);
        return existing;
    }
    QWidget* widget = create();
    if (!widget)
        return nullptr;
    QMdiSubWindow* child = addChildWindow(widget);
    child->setProperty(kWindowKey, key);
    return child;
}

void TMain::forEachChild(const std::function<void(ChildWindow&)>& tell) {
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (auto* child = dynamic_cast<ChildWindow*>(w->widget()))
            tell(*child);
    }
}

void TMain::dataChanged(Change what) {
    switch (what) {
    case Change::FieldLabels:
        fieldLabelsChanged();
        break;
    case Change::Carriers:
    case Change::Lendings:
        // The carrier count and the lending state decide which commands are enabled.
        scheduleMenuUpdate();
        break;
    default:
        break;
    }
}

void TMain::childActivated(QMdiSubWindow* window) {
    for (const QPointer<QAction>& a : std::as_const(m_contributed)) {
        if (a)
            menuBar()->removeAction(a);
    }
    m_contributed.clear();
    if (window) {
        if (auto* child = dynamic_cast<ChildWindow*>(window->widget())) {
            for (QMenu* menu : child->contributedMenus()) {
                menuBar()->insertMenu(m_beforeWindowMenu, menu);
                m_contributed.append(menu->menuAction());
            }
        }
    }
    updateMenuItems();
}

void TMain::fillWindowMenu() {
    const QList<QAction*> all = m_windowMenu->actions();
    for (qsizetype i = all.indexOf(m_windowListSeparator) + 1; i < all.size(); ++i) {
        m_windowMenu->removeAction(all[i]);
        all[i]->deleteLater();
    }
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
    m_windowListSeparator->setVisible(!windows.isEmpty());
    int number = 1;
    for (QMdiSubWindow* w : windows) {
        QAction* a =
            m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(w->windowTitle()));
        a->setCheckable(true);
        a->setChecked(w == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, this,
                [this, w] { windowplacement::bringToFront(*m_mdi, *w); });
    }
}

void TMain::registerBuiltInCommands() {
    setCommandHandler(C::Exit, [this] { close(); });
    setCommandHandler(C::Tile, [this] { m_mdi->tileSubWindows(); });
    setCommandHandler(C::Cascade, [this] { m_mdi->cascadeSubWindows(); });
    setCommandHandler(C::CloseAll, [this] {
        const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            (*it)->close();
    });
    setCommandHandler(C::MinimizeAll, [this] {
        const QList<QMdiSubWindow*> windows = m_mdi->subWindowList();
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            (*it)->showMinimized();
    });
    setCommandHandler(C::ArrangeIcons, [this] {
        // Lines the minimised children up along the bottom edge.
        int x = 0;
        for (QMdiSubWindow* w : m_mdi->subWindowList()) {
            if (!w->isMinimized())
                continue;
            w->move(x, m_mdi->viewport()->height() - w->height());
            x += w->width();
        }
    });
    setCommandHandler(C::Settings, [this] { openSettingsDialog(); });
    setCommandHandler(C::PrinterSetup, [this] { openPrinterSetup(); });
    setCommandHandler(C::HelpIndex, [this] { help().showContents(); });
    setCommandHandler(C::HelpSearch, [this] { help().showSearch(QString()); });
    setCommandHandler(C::HelpKeyboard,
                      [this] { help().showTopic(QStringLiteral("HowTo_Keyboard")); });
    setCommandHandler(C::HelpFirstSteps,
                      [this] { help().showTopic(QStringLiteral("HowTo_Settings")); });
    setCommandHandler(C::HelpUsingHelp, [this] { help().showContext(10505); });
    setCommandHandler(C::ShowReadme, [this] { showTextFile(QStringLiteral("README.W32")); });
    setCommandHandler(C::ShowLicence, [this] { showTextFile(QStringLiteral("LICENCE.W32")); });
    setCommandHandler(C::ShowVersions, [this] { showTextFile(QStringLiteral("VERSIONS.W32")); });
    setCommandHandler(C::Tips, [this] { showTips(); });
    setCommandHandler(C::About, [this] { showAboutBox(this); });
    setCommandHandler(C::Copyright, [this] { TCreditsDialog(this).exec(); });
}

void TMain::showTextFile(const QString& name) {
    TReadmeDialog(m_state.dataFile(name), this).exec();
}

void TMain::showTips() {
    std::optional<Tips> tips;
    try {
        tips.emplace(Tips::load(m_state.db));
    } catch (const DbError&) {
        tips.reset();
    }
    TfTipOfTheDay dialog(std::move(tips), m_state.settings.lastTip, m_state.settings.showTip, this);
    dialog.exec();
    m_state.settings.lastTip = dialog.shownTip();
    m_state.settings.showTip = dialog.showAtStart();
}

void TMain::openSettingsDialog() {
    TSettingsDialog dialog(m_state, m_messages, this);
    connect(&dialog, &TSettingsDialog::helpRequested, this,
            [this](int context) { help().showContext(context); });
    if (dialog.exec() == QDialog::Accepted) {
        const Settings before = m_state.settings;
        m_state.settings = dialog.editedSettings();
        for (SettingsNotification n : settingsNotifications(before, m_state.settings)) {
            switch (n) {
            case SettingsNotification::Hints:
                setHintsEnabled(m_state.settings.showHints);
                break;
            case SettingsNotification::CdLedMode:
                forEachChild([](ChildWindow& c) { c.cdLedModeChanged(); });
                break;
            case SettingsNotification::SongOrder:
                forEachChild([](ChildWindow& c) { c.songOrderChanged(); });
                break;
            case SettingsNotification::CdColour:
                forEachChild([](ChildWindow& c) { c.cdColoursChanged(); });
                break;
            case SettingsNotification::FieldLabels:
                fieldLabelsChanged();
                break;
            }
        }
        applyWindowMode();
        m_state.settings.lastPrinter = m_state.currentPrinter;
        QString error;
        if (!settingsfile::write(m_state.settingsPath(), m_state.settings, &error))
            m_messages.error(error);
    }
    for (QToolBar* bar : m_toolBars)
        bar->setVisible(m_state.settings.showToolbar);
    statusBar()->setVisible(m_state.settings.showStatusbar);
    setWindowTitle(QStringLiteral("Diskarium"));
}

void TMain::openPrinterSetup() {
    if (const auto chosen = printerchoice::runSetupDialog(m_state.currentPrinter, this)) {
        m_state.currentPrinter = *chosen;
        if (TPreviewDialog* preview = TPreviewDialog::instance())
            preview->selectPrinter(*chosen);
    }
}

void TMain::bringToFront() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_firstShow)
        return;
    m_firstShow = false;
    setWindowTitle(QStringLiteral("Diskarium"));
    QTimer::singleShot(50, this, [this] {
        setEnabled(true);
        updateMenuItems();
        if (m_state.settings.showTip)
            showTips();
    });
}

void TMain::closeEvent(QCloseEvent* event) {
    const QList<QMdiSubWindow*> children = m_mdi->subWindowList();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (!(*it)->close()) {
            event->ignore(); // a child refused to close
            return;
        }
    }
    m_state.settings.lastPrinter = m_state.currentPrinter;
    m_state.settings.buttonType = m_buttonType;
    QString error;
    if (!settingsfile::write(m_state.settingsPath(), m_state.settings, &error))
        m_messages.error(error);
    saveWindowPlacement();
    m_state.db.close();
    m_state.lock.release();
    if (m_help)
        m_help->close();
    event->accept();
}

void TMain::saveWindowPlacement() {
    auto ini = IniFile::load(m_state.settingsPath());
    if (!ini)
        return;
    ini->setValue(QStringLiteral("MainForm"), QStringLiteral("Geometry"),
                  QString::fromLatin1(saveGeometry().toBase64()));
    ini->setValue(QStringLiteral("Toolbars"), QStringLiteral("State"),
                  QString::fromLatin1(saveState().toBase64()));
    ini->save(m_state.settingsPath());
}

void TMain::restoreWindowPlacement() {
    const IniFile ini = IniFile::load(m_state.settingsPath()).value_or(IniFile());
    if (const auto geometry = ini.value(u"MainForm", u"Geometry"))
        restoreGeometry(QByteArray::fromBase64(geometry->toLatin1()));
    if (const auto toolbars = ini.value(u"Toolbars", u"State"))
        restoreState(QByteArray::fromBase64(toolbars->toLatin1()));
    // The settings decide visibility, whatever the saved layout says.
    for (QToolBar* bar : m_toolBars)
        bar->setVisible(m_state.settings.showToolbar);
}

// F1 in an open menu shows the help of the highlighted entry, or of the menu itself. Watched
// for the whole application: menus of child windows and context menus count as well.
bool TMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            int context = menu->property("helpContext").toInt();
            if (QAction* active = menu->activeAction();
                active && active->property("helpContext").toInt())
                context = active->property("helpContext").toInt();
            if (!context)
                return QMainWindow::eventFilter(watched, event);
            menu->close();
            help().showContext(context);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
