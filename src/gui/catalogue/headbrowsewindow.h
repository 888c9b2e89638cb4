#pragma once

#include "core/catalogue/medialist.h"
#include "fieldlabelbinder.h"
#include "gui/shell/childwindow.h"

#include <QWidget>
#include <functional>

class TMain;
class MessageService;
class MediaListModel;
class QTableView;
class QTabBar;
class QLabel;
class QMenu;
class QAction;
class QPushButton;
struct AppState;

// What the list asks of the rest of the program; empty hooks leave their commands disabled.
struct MediaListHooks {
    std::function<void(int carrierNumber)> editCarrier;    // the entry window
    std::function<void(int carrierNumber)> displayCarrier; // the display window
    std::function<void(int carrierNumber)> lendCarrier;
    std::function<void(int carrierNumber)> returnCarrier;
    std::function<void(int carrierNumber)> printCarrier;
    std::function<void(int carrierNumber)> printCover;
    std::function<void(int helpContext)> help;
};

// "Tonträger bearbeiten": the carrier list from which every command on an existing carrier
// starts. Shows a window's worth of rows at a time; keeps the current carrier across sorting
// and refreshing.
class THeadBrowseWindow : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 31000;

    // searchNumber 0: all carriers ("Tonträger bearbeiten"); otherwise a search result
    // ("Tonträger bearbeiten: N") limited by filter.
    THeadBrowseWindow(TMain& main, MessageService& messages, MediaListHooks hooks,
                      int searchNumber = 0, std::optional<medialist::Filter> filter = {},
                      QWidget* parent = nullptr);
    ~THeadBrowseWindow() override;

    // Runs the query; false (after "Es wurden keine Daten gefunden!") when it is empty.
    bool FormCreate();

    // ChildWindow
    void refreshMediaList() override;
    void hintsChanged(bool enabled) override;
    void fieldLabelsChanged() override { m_labels.apply(); }
    QList<QMenu*> contributedMenus() override;

    // The lookup tables changed: short names are read again.
    void lookupsChanged() { refreshMediaList(); }

    int currentRow() const;
    void setCurrentRow(int row);
    int currentCarrier() const;
    MediaListModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }
    QMenu* carrierMenu() const { return m_menu; }
    QMenu* contextMenu() const { return m_context; }
    QTabBar* tabs() const { return m_tabs; }
    QLabel* rowLabel() const { return m_rowLabel; }

    // The commands, as buttons, menus and keys run them.
    void EditClick();
    void DisplayClick();
    void DeleteClick();
    void ExportClick();
    // "Als CSV-Datei speichern...": the list as shown.
    void saveAsCsv();
    void DiscCodeClick(const QString& drive);
    void sortByColumn(int column);
    void defaultSort();
    void jumpTo(QChar c);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createWidgets();
    void createCommands();
    void runQuery(const QString& sort, int keepCarrier, int fallbackRow);
    void currentChanged();
    void updateRowLabel();
    void showContextMenu(const QPoint& globalPos);
    void showColumnTitles(const QStringList& titles);
    // The current carrier as it is stored now; 0 (after a message and a refresh) when gone.
    int checkedCarrier();
    bool carrierWindowOpen(int carrier) const;
    void updateCommands();
    void closeWindow();

    TMain& m_main;
    AppState& m_state;
    MessageService& m_messages;
    MediaListHooks m_hooks;
    std::optional<medialist::Filter> m_filter;
    FieldLabelBinder m_labels;
    QString m_sort;
    MediaListModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QTabBar* m_tabs = nullptr;
    QLabel* m_rowLabel = nullptr;
    QMenu* m_menu = nullptr;
    QMenu* m_context = nullptr;
    QAction* m_edit = nullptr;
    QAction* m_display = nullptr;
    QAction* m_delete = nullptr;
    QAction* m_defaultSort = nullptr;
    QAction* m_export = nullptr;
    QAction* m_saveCsv = nullptr;
    QList<QAction*> m_discCodes;
    QAction* m_lend = nullptr;
    QAction* m_return = nullptr;
    QAction* m_print = nullptr;
    QAction* m_cover = nullptr;
    QList<QPair<QPushButton*, QAction*>> m_buttons;
    bool m_jumping = false;
};
