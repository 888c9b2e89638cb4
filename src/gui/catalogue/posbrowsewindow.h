#pragma once

#include "carrierbrowsewindow.h"
#include "fieldlabelbinder.h"

#include "core/catalogue/medialist.h"
#include "core/catalogue/songlist.h"

#include <functional>
#include <optional>

class SongListModel;
class QAction;

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
class TPosBrowseWindow : public CarrierBrowseWindow {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 31001;

    TPosBrowseWindow(TMain& main, MessageService& messages, SongListHooks hooks, int searchNumber,
                     medialist::Filter filter, QWidget* parent = nullptr);
    ~TPosBrowseWindow() override;

    // Runs the query; false (after "Es wurden keine Daten gefunden!" or the engine's message)
    // when there is nothing to show.
    bool FormCreate() { return openRows(); }

    void fieldLabelsChanged() override { m_labels.apply(); }

    int currentCarrier() const override;
    SongListModel* model() const { return m_model; }

    void EditClick() override;
    void DisplayClick() override;
    void PrintClick();
    void CoverClick();
    void sortByColumn(int column) override;
    void defaultSort();
    // "Als &CSV-Datei speichern..."
    void saveAsCsv();
    void jumpTo(QChar c) override;
    void refresh();

protected:
    void runFirstQuery() override;
    void reread() override { refresh(); }
    void currentChanged() override;

private:
    void createCommands();
    void createWidgets();
    void runQuery(const QString& sort, std::optional<songlist::SongKey> keep, int fallbackRow);
    void rerun(const QString& sort);
    void showColumnTitles(const QStringList& titles);
    void updateCommands();
    bool printerThere();

    FieldLabelBinder m_labels{m_state, FieldLabelBinder::SongList};
    SongListHooks m_hooks;
    medialist::Filter m_filter;
    QString m_sort;
    SongListModel* m_model = nullptr;
    QAction* m_edit = nullptr;
    QAction* m_display = nullptr;
    QAction* m_defaultSort = nullptr;
    QAction* m_print = nullptr;
    QAction* m_cover = nullptr;
};
