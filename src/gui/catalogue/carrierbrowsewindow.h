#pragma once

#include "gui/shell/childwindow.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class TMain;
class MessageService;
class QAbstractItemModel;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTabBar;
class QTableView;
struct AppState;

// The frame the carrier list and the song list share: initial tabs over the grid, the grid
// and its keys (Return edits, a letter or digit jumps, Shift+F10 opens the context menu, Esc
// closes), the navigator with "Datensatz N von M" below it and the command buttons beside it.
// Each row names a carrier; the subclass supplies the rows, the commands and the jump.
class CarrierBrowseWindow : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    ~CarrierBrowseWindow() override;

    QList<QMenu*> contributedMenus() override { return {m_menu}; }

    int currentRow() const;
    void setCurrentRow(int row);
    virtual int currentCarrier() const = 0;
    QTableView* grid() const { return m_grid; }
    QMenu* carrierMenu() const { return m_menu; }
    QMenu* contextMenu() const { return m_context; }
    QTabBar* tabs() const { return m_tabs; }
    QLabel* rowLabel() const { return m_rowLabel; }

    virtual void EditClick() = 0;
    virtual void DisplayClick() = 0;
    virtual void sortByColumn(int column) = 0;
    virtual void jumpTo(QChar c) = 0;

protected:
    CarrierBrowseWindow(TMain& main, MessageService& messages, int helpContext,
                        QWidget* parent = nullptr);

    // A button beside the grid: it runs its command, closes the window or shows its help.
    struct Button {
        enum Role { Command, Close, Help };
        QString caption;
        QAction* action = nullptr; // for Command
        Role role = Command;
    };
    struct Frame {
        QAbstractItemModel* model = nullptr;
        bool endTabs = false; // "<" and ">" around the initials
        QString gridHint;
        int minimumColumnWidth = 60;
        std::vector<Button> buttons;
        std::function<void(int helpContext)> help;
    };
    // Builds the widgets once the commands exist.
    void createFrame(const Frame& frame);
    // Opens the rows the first time: field labels, the query, column widths from the first
    // rows. False (after "Es wurden keine Daten gefunden!" or the engine's message) when
    // there is nothing to show.
    bool openRows();
    // Column widths from the titles and the first rows.
    void fitColumns();
    // The first query, in the order the window last used. Throws DbError.
    virtual void runFirstQuery() = 0;
    // Reads the rows again, keeping the current carrier where it can ("↻", a carrier gone).
    virtual void reread() = 0;
    // The current row moved: row label and initial tab follow.
    virtual void currentChanged() = 0;

    void updateRowLabel();
    // Marks the tab of the current row's initial and updates the row label.
    void showInitial(const QString& initial);
    // Each button follows the enabled state of its command.
    void updateButtons();
    // The current carrier as it is stored now; 0 (after a message and a re-read) when gone.
    int checkedCarrier();
    void closeWindow();
    // Grid updates and the tabs are off while a jump runs; false when one runs already.
    bool beginJump();
    void endJump(int targetRow);
    // Stored carriers, songs, lendings or lookups changed: the rows are read again.
    void scheduleReread();

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    TMain& m_main;
    AppState& m_state;
    MessageService& m_messages;
    QTableView* m_grid = nullptr;
    QTabBar* m_tabs = nullptr;
    QLabel* m_rowLabel = nullptr;
    QMenu* m_menu = nullptr; // shown in the main window's menu bar, so not a child
    QMenu* m_context = nullptr;

private:
    void createTabs(bool endTabs);
    void createGrid(QAbstractItemModel* model, const QString& hint);

    int m_helpContext;
    int m_minimumColumnWidth = 60;
    int m_firstInitialTab = 0, m_lastInitialTab = -1;
    QList<QPair<QPushButton*, QAction*>> m_buttons;
    bool m_jumping = false;
    bool m_rowsOpen = false; // the first query ran
    bool m_rereadPending = false;
};
