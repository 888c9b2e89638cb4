#pragma once

#include "carrierbrowsewindow.h"
#include "core/catalogue/medialist.h"
#include "fieldlabelbinder.h"

#include <functional>
#include <optional>

class MediaListModel;
class QAction;

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
class THeadBrowseWindow : public CarrierBrowseWindow {
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
    bool FormCreate() { return openRows(); }

    // Reads the rows again, keeping the current carrier.
    void refreshMediaList();
    // ChildWindow
    void hintsChanged(bool enabled) override;
    void fieldLabelsChanged() override { m_labels.apply(); }

    int currentCarrier() const override;
    MediaListModel* model() const { return m_model; }

    // The commands, as buttons, menus and keys run them.
    void EditClick() override;
    void DisplayClick() override;
    void DeleteClick();
    void ExportClick();
    // "Als CSV-Datei speichern...": the list as shown.
    void saveAsCsv();
    void DiscCodeClick(const QString& drive);
    void sortByColumn(int column) override;
    void defaultSort();
    void jumpTo(QChar c) override;

protected:
    void runFirstQuery() override;
    void reread() override { refreshMediaList(); }
    void currentChanged() override;

private:
    void createWidgets();
    void createCommands();
    void runQuery(const QString& sort, int keepCarrier, int fallbackRow);
    void showColumnTitles(const QStringList& titles);
    bool carrierWindowOpen(int carrier) const;
    void updateCommands();

    MediaListHooks m_hooks;
    std::optional<medialist::Filter> m_filter;
    FieldLabelBinder m_labels;
    QString m_sort;
    MediaListModel* m_model = nullptr;
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
};
