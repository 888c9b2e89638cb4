#pragma once

#include "fieldlabelbinder.h"

#include "core/catalogue/medialist.h"
#include "core/catalogue/songlist.h"
#include "gui/shell/childwindow.h"

#include <QWidget>
#include <functional>

class TMain;
class MessageService;
class SongListModel;
class QTableView;
class QTabBar;
class QLabel;
class QMenu;
class QAction;
class QPushButton;
struct AppState;

// What the song list asks of the rest of the program; empty hooks leave their commands
// disabled.
struct SongListHooks {
    std::function<void(int carrierNumber)> editCarrier;
    std::function<void(int carrierNumber)> displayCarrier;
    std::function<void(int carrierNumber)> printCarrier; // the carrier sheet dialog
    std::function<void(int carrierNumber)> printCover;   // the cover dialog
    std::function<bool()> hasPrinter;                    // empty: the printers offered now
    std::function<void(int helpContext)> help;
};

// "Gefundene Lieder bearbeiten: N": the songs a song search found, each with its carrier, and
// the commands on that carrier. Shows a window's worth of rows at a time.
class TPosBrowseWindow : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 31001;

    TPosBrowseWindow(TMain& main, MessageService& messages, SongListHooks hooks, int searchNumber,
                     medialist::Filter filter, QWidget* parent = nullptr);
    ~TPosBrowseWindow() override;

    // Runs the query; false (after "Es wurden keine Daten gefunden!" or the engine's message)
    // when there is nothing to show.
    bool FormCreate();

    QList<QMenu*> contributedMenus() override;
    void fieldLabelsChanged() override { m_labels.apply(); }

    int currentRow() const;
    void setCurrentRow(int row);
    int currentCarrier() const;
    SongListModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }
    QMenu* carrierMenu() const { return m_menu; }
    QMenu* contextMenu() const { return m_context; }
    QTabBar* tabs() const { return m_tabs; }
    QLabel* rowLabel() const { return m_rowLabel; }

    void EditClick();
    void DisplayClick();
    void PrintClick();
    void CoverClick();
    void sortByColumn(int column);
    void defaultSort();
    // "Als &CSV-Datei speichern..."
    void saveAsCsv();
    void jumpTo(QChar c);
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createCommands();
    void createWidgets();
    void runQuery(const QString& sort, std::optional<songlist::SongKey> keep, int fallbackRow);
    void rerun(const QString& sort);
    void currentChanged();
    void updateRowLabel();
    void showColumnTitles(const QStringList& titles);
    void updateCommands();
    bool printerThere();
    // The current carrier as it is stored now; 0 (after a message and a re-read) when gone.
    int checkedCarrier();
    void closeWindow();

    TMain& m_main;
    AppState& m_state;
    FieldLabelBinder m_labels{m_state, FieldLabelBinder::SongList};
    MessageService& m_messages;
    SongListHooks m_hooks;
    medialist::Filter m_filter;
    QString m_sort;
    SongListModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QTabBar* m_tabs = nullptr;
    QLabel* m_rowLabel = nullptr;
    QMenu* m_menu = nullptr;
    QMenu* m_context = nullptr;
    QAction* m_edit = nullptr;
    QAction* m_display = nullptr;
    QAction* m_defaultSort = nullptr;
    QAction* m_print = nullptr;
    QAction* m_cover = nullptr;
    QList<QPair<QPushButton*, QAction*>> m_buttons;
    bool m_jumping = false;
};
