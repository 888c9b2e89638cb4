#pragma once

#include "core/printing/statistics.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>
#include <vector>

struct AppState;
class MessageService;
class QBarCategoryAxis;
class QBarSet;
class QChartView;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTableWidget;
class QWidget;

// The statistics window: counts the collection by one grouping when it is first activated
// (gauge and "&Abbruch"), then shows the groups with count, time, value and songs, the
// totals, and the rows as a bar chart. "&Drucken" opens the print dialog for the table.
class TStatistikDialog : public QDialog {
    Q_OBJECT
public:
    TStatistikDialog(AppState& state, MessageService& messages, int kind,
                     QWidget* parent = nullptr);
    ~TStatistikDialog() override;

    // The printers a print may go to; tests offer none.
    std::function<QStringList()> printers;
    void setHelpHandler(std::function<void(int)> handler) { m_help = std::move(handler); }

    // Counts unless done already; false when the count was stopped (the window then closes).
    bool count();
    bool counted() const { return m_counted; }
    // "&Abbruch" while counting.
    void abortCount() { m_abortRequested = true; }
    // Carriers per counted slice (tests make it small).
    qint64 rowsPerSlice = 8192;
    // Between slices, for tests: called after each one.
    std::function<void(int done, int total)> sliceDone;
    // "&Drucken".
    void printPressed();
    // "Als &CSV-Datei speichern..." of the grids' context menu: the rows and the totals.
    void saveAsCsv();

    int kind() const { return m_kind; }
    QTableWidget* resultGrid() const { return m_grid; }
    QTableWidget* totalsGrid() const { return m_totals; }
    QProgressBar* gauge() const { return m_gauge; }
    QPushButton* abortButton() const { return m_abort; }
    QComboBox* chartChoice() const { return m_chartChoice; }
    // The bars of the chart, top to bottom, with their values.
    QStringList chartCategories() const;
    QList<double> chartValues() const;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void build();
    void showResult();
    void fillChart();

    AppState& m_state;
    MessageService& m_messages;
    int m_kind;
    statistics::Table m_table;
    bool m_counted = false, m_counting = false, m_abortRequested = false, m_countQueued = false;
    QProgressBar* m_gauge = nullptr;
    QPushButton* m_abort = nullptr;
    QWidget* m_result = nullptr;
    QTableWidget* m_grid = nullptr;
    QTableWidget* m_totals = nullptr;
    QComboBox* m_chartChoice = nullptr;
    QScrollArea* m_chartArea = nullptr;
    QChartView* m_chartView = nullptr;
    QBarSet* m_bars = nullptr;
    QBarCategoryAxis* m_categories = nullptr;
    std::function<void(int)> m_help;
};
