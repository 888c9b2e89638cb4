#pragma once

#include "core/shell/appstate.h"
#include "maincommands.h"
#include "qtmessageservice.h"

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QAction;
class QMenu;
class QToolBar;
class QLabel;
class HelpViewer;
class HintFilter;
class ChildWindow;

// The main frame: menus, tool bars, status bar with clock, and the MDI area in which the
// working windows open. Works on the program-wide state (with the database connection) that
// the program's start keeps for the whole run.
class TMain : public QMainWindow {
    Q_OBJECT
public:
    TMain(AppState& state, HintFilter& hints, QWidget* parent = nullptr);
    ~TMain() override;

    AppState& state() { return m_state; }
    QtMessageService& messages() { return m_messages; }
    HelpViewer& help();

    // Registers what a command does; commands without a handler stay disabled.
    void setCommandHandler(MainCommand command, std::function<void()> handler);
    QAction* action(MainCommand command) const { return m_actions.value(command); }
    // Runs a command or a hook. A database failure under it (another program writing, a full
    // disk) becomes a German message; the program and its windows stay as they were.
    void guarded(const std::function<void()>& work);
    // A hook that runs guarded.
    std::function<void(int)> guardedHook(std::function<void(int)> hook);
    QToolBar* toolBar(int index) const;

    // Enables the commands from the number of children, carriers and CD drives.
    void updateMenuItems();

    // The child opened under this key ("media-list", "lookup:2"), or nullptr. Keys, not the
    // captions the user reads, name the windows that exist once.
    QMdiSubWindow* findChildWindow(const QString& key) const;
    // Brings the child with this key to the front, or opens the one made by create.
    QMdiSubWindow* activateOrOpen(const QString& key, const std::function<QWidget*()>& create);
    QMdiSubWindow* addChildWindow(QWidget* widget);
    // The active child's menus changed (a text box got or lost the focus): read them again.
    void childMenusChanged();
    QMdiArea* mdiArea() const { return m_mdi; }

    // Tells every child; each acts on what concerns it.
    void forEachChild(const std::function<void(ChildWindow&)>& tell);
    // The user's field names changed: every open child applies its captions again.
    void fieldLabelsChanged();

    // Tool bars and status bar shown as the settings say; button mode applied.
    void applySettings();
    void setButtonType(int mode);
    int buttonType() const { return m_buttonType; }
    void setHintsEnabled(bool enabled);

    // Selects the printer named in the settings when it is installed.
    void selectLastPrinter();

    // Brings the window to the front, restored when minimised (a second start asked so).
    void bringToFront();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void registerBuiltInCommands();
    void runCommand(MainCommand command);
    // Windows or tabs in the work area, as the settings say.
    void applyWindowMode();
    void dataChanged(Change what);
    void scheduleMenuUpdate();
    void childActivated(QMdiSubWindow* window);
    void fillWindowMenu();
    void refreshClock();
    void showTips();
    void openSettingsDialog();
    void openPrinterSetup();
    void showTextFile(const QString& name);
    void saveWindowPlacement();
    void restoreWindowPlacement();
    bool eventFilter(QObject* watched, QEvent* event) override;

    AppState& m_state;
    HintFilter& m_hintFilter;
    QtMessageService m_messages;
    QMdiArea* m_mdi = nullptr;
    HelpViewer* m_help = nullptr;
    QMap<MainCommand, QAction*> m_actions;
    QMap<MainCommand, std::function<void()>> m_handlers;
    QList<QAction*> m_toolButtons; // tool bar actions, with the command in data()
    QList<QToolBar*> m_toolBars;
    QMenu* m_windowMenu = nullptr;
    QAction* m_windowListSeparator = nullptr;
    QAction* m_beforeWindowMenu = nullptr;
    QList<QPointer<QAction>> m_contributed; // a closed child takes its menus with it
    QLabel* m_date = nullptr;
    QLabel* m_weekday = nullptr;
    QLabel* m_time = nullptr;
    int m_buttonType = 1;
    bool m_firstShow = true;
    bool m_updatePending = false;
};
