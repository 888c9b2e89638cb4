#include "statistikdialog.h"

#include "core/common/messageservice.h"
#include "core/db/dberror.h"
#include "core/printing/printercheck.h"
#include "core/shell/appstate.h"
#include "gui/shell/csvsave.h"
#include "gui/shell/printerchoice.h"
#include "gui/shell/windowplacement.h"
#include "previewdialog.h"
#include "printstatdialog.h"

#include <QAction>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

constexpr int kHelpContext = 37001;
// Room per bar, so that even 80 groups stay readable (the chart scrolls).
constexpr int kBarHeight = 26;

QTableWidget* makeGrid(int rows) {
    auto* grid = new QTableWidget(rows, 5);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->verticalHeader()->hide();
    return grid;
}

void fill(QTableWidget* grid, int row, const QStringList& cells) {
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        if (column > 0)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->setItem(row, column, item);
    }
}

} // namespace

TStatistikDialog::TStatistikDialog(AppState& state, MessageService& messages, int kind,
                                   QWidget* parent)
    : QDialog(parent), m_state(state), m_messages(messages),
      m_kind(statistics::validKind(kind) ? kind : statistics::MediaTypes) {
    printers = [] { return printerchoice::availablePrinters(); };
    build();
}

TStatistikDialog::~TStatistikDialog() = default;

void TStatistikDialog::build() {
    setWindowTitle(statistics::caption(m_kind));
    setProperty("helpContext", kHelpContext);
    auto* layout = new QVBoxLayout(this);

    // Counting: the gauge and "&Abbruch".
    m_gauge = new QProgressBar;
    m_gauge->setTextVisible(false);
    m_gauge->setStyleSheet(
        QStringLiteral("QProgressBar { background: silver; border: 1px solid gray; }"
                       "QProgressBar::chunk { background: navy; }"));
    m_gauge->setMinimumWidth(320);
    m_abort = new QPushButton(QStringLiteral("&Abbruch"));
    m_abort->setObjectName(QStringLiteral("AbortButton"));
    connect(m_abort, &QPushButton::clicked, this, &TStatistikDialog::abortCount);
    auto* counting = new QHBoxLayout;
    counting->addWidget(m_gauge, 1);
    counting->addWidget(m_abort);
    layout->addLayout(counting);

    // Result: grids, chart and buttons, shown once the count is done.
    m_result = new QWidget;
    auto* result = new QVBoxLayout(m_result);
    result->setContentsMargins(0, 0, 0, 0);
    auto* tables = new QVBoxLayout;
    m_grid = makeGrid(0);
    m_grid->setHorizontalHeaderLabels(statistics::titleRow());
    m_totals = makeGrid(1);
    m_totals->horizontalHeader()->hide();
    tables->addWidget(m_grid, 1);
    tables->addWidget(m_totals);
    for (QTableWidget* grid : {m_grid, m_totals}) {
        auto* saveCsv = new QAction(QStringLiteral("Als &CSV-Datei speichern..."), grid);
        connect(saveCsv, &QAction::triggered, this, &TStatistikDialog::saveAsCsv);
        grid->addAction(saveCsv);
        grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    }

    auto* chartColumn = new QVBoxLayout;
    auto* chartRow = new QHBoxLayout;
    auto* chartLabel = new QLabel(QStringLiteral("Dia&gramm:"));
    m_chartChoice = new QComboBox;
    m_chartChoice->addItems({QStringLiteral("Anzahl"), QStringLiteral("Zeit"),
                             QStringLiteral("Wert"), QStringLiteral("Anzahl Lieder")});
    m_chartChoice->setToolTip(QStringLiteral("Welche Spalte das Diagramm zeigt"));
    chartLabel->setBuddy(m_chartChoice);
    chartRow->addWidget(chartLabel);
    chartRow->addWidget(m_chartChoice, 1);
    chartColumn->addLayout(chartRow);
    auto* chart = new QChart;
    chart->legend()->hide();
    auto* series = new QHorizontalBarSeries;
    m_bars = new QBarSet(QString());
    m_bars->setColor(QColor(0, 0, 128));
    series->append(m_bars);
    chart->addSeries(series);
    chart->setMargins(QMargins(2, 2, 2, 2));
    m_categories = new QBarCategoryAxis;
    QFont labelFont = m_categories->labelsFont();
    labelFont.setPointSizeF(std::max(6.0, labelFont.pointSizeF() - 1));
    m_categories->setLabelsFont(labelFont);
    m_categories->setGridLineVisible(false);
    chart->addAxis(m_categories, Qt::AlignLeft);
    series->attachAxis(m_categories);
    auto* values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%.0f"));
    values->setLabelsFont(labelFont);
    // Above the bars, so that the scale is in sight without scrolling.
    chart->addAxis(values, Qt::AlignTop);
    series->attachAxis(values);
    m_chartView = new QChartView(chart);
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartArea = new QScrollArea;
    m_chartArea->setWidgetResizable(true);
    m_chartArea->setWidget(m_chartView);
    m_chartArea->setMinimumWidth(360);
    chartColumn->addWidget(m_chartArea, 1);
    connect(m_chartChoice, &QComboBox::currentIndexChanged, this, [this] { fillChart(); });

    auto* body = new QHBoxLayout;
    body->addLayout(tables, 3);
    body->addLayout(chartColumn, 2);
    result->addLayout(body, 1);

    auto* buttons = new QDialogButtonBox;
    auto* close = buttons->addButton(QStringLiteral("&Schließen"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setDefault(true);
    auto* print = buttons->addButton(QStringLiteral("&Drucken"), QDialogButtonBox::ActionRole);
    print->setObjectName(QStringLiteral("PrintButton"));
    buttons->addButton(QDialogButtonBox::Help)->setText(QStringLiteral("&Hilfe"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(print, &QPushButton::clicked, this, &TStatistikDialog::printPressed);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
        if (m_help)
            m_help(kHelpContext);
    });
    result->addWidget(buttons);
    layout->addWidget(m_result, 1);
    m_result->hide();
}

void TStatistikDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Counting starts once the window is on the screen, and only the first time.
    if (!m_counted && !m_countQueued) {
        m_countQueued = true;
        QTimer::singleShot(0, this, [this] {
            if (!m_counted && !count())
                QDialog::reject();
        });
    }
}

bool TStatistikDialog::count() {
    if (m_counted)
        return true;
    if (m_counting)
        return false;
    m_counting = true;
    m_abortRequested = false;
    bool finished = false;
    try {
        statistics::Counter counter(m_state.db, m_state.settings, m_kind, rowsPerSlice);
        m_gauge->setRange(0, std::max(1, counter.sliceCount()));
        m_gauge->setValue(0);
        // Events run between slices only: never while the connection is inside a statement.
        QApplication::processEvents();
        while (!m_abortRequested && counter.runNextSlice()) {
            m_gauge->setValue(counter.slicesDone());
            if (sliceDone)
                sliceDone(counter.slicesDone(), counter.sliceCount());
            QApplication::processEvents();
        }
        if (!m_abortRequested) {
            m_table = counter.result();
            finished = true;
        }
    } catch (const DbError& e) {
        m_messages.error(e.message());
    }
    m_counting = false;
    if (!finished)
        return false;
    m_counted = true;
    showResult();
    return true;
}

void TStatistikDialog::reject() {
    if (m_counting) { // closing while counting stops the count; the window closes then
        m_abortRequested = true;
        return;
    }
    QDialog::reject();
}

void TStatistikDialog::showResult() {
    m_gauge->hide();
    m_abort->hide();
    m_grid->setRowCount(int(m_table.rows.size()));
    for (int row = 0; row < int(m_table.rows.size()); ++row)
        fill(m_grid, row, statistics::displayRow(m_table.rows[size_t(row)], m_table.currency));
    fill(m_totals, 0, statistics::totalRow(m_table));
    m_grid->resizeColumnsToContents();
    m_totals->resizeColumnsToContents();
    // Both grids get the widths of the wider one, so the totals stand under their columns.
    for (int column = 0; column < 5; ++column) {
        const int width = std::max(m_grid->columnWidth(column), m_totals->columnWidth(column));
        m_grid->setColumnWidth(column, width);
        m_totals->setColumnWidth(column, width);
    }
    m_totals->setFixedHeight(m_totals->rowHeight(0) + 2 * m_totals->frameWidth());
    fillChart();
    m_result->show();
    if (auto* close = findChild<QPushButton*>(QStringLiteral("CloseButton")))
        close->setFocus();
    // It grows around its centre, as it opened centred, and after it was shown: the screen
    // may be smaller than the result wants.
    const QRect before = frameGeometry();
    const QSize frame = before.size() - size();
    const QSize grown(std::max(width(), 900), std::max(height(), 520));
    resize(grown);
    move(before.center() -
         QPoint((grown.width() + frame.width()) / 2, (grown.height() + frame.height()) / 2));
    windowplacement::fitToScreen(*this);
}

void TStatistikDialog::fillChart() {
    if (!m_counted)
        return;
    const int column = m_chartChoice->currentIndex();
    QStringList labels;
    QList<double> values;
    // A horizontal bar chart draws its first category at the bottom; the grid's first row
    // belongs at the top.
    for (auto it = m_table.rows.rbegin(); it != m_table.rows.rend(); ++it) {
        const statistics::Sums& s = it->sums;
        // Labels must be unique for the axis; the empty year gets a visible name.
        QString label = it->label.isEmpty() ? QStringLiteral("(leer)") : it->label;
        while (labels.contains(label))
            label += QLatin1Char(' ');
        labels.append(label);
        switch (column) {
        case 1:
            values.append(double(s.seconds) / 3600.0); // hours
            break;
        case 2:
            values.append(double(s.cents) / 100.0);
            break;
        case 3:
            values.append(double(s.songs));
            break;
        default:
            values.append(double(s.count));
        }
    }
    m_bars->remove(0, m_bars->count());
    m_bars->append(values);
    m_categories->clear();
    m_categories->append(labels);
    double maximum = 0;
    for (double v : values)
        maximum = std::max(maximum, v);
    const auto axes = m_chartView->chart()->axes(Qt::Horizontal);
    if (!axes.isEmpty()) {
        auto* axis = static_cast<QValueAxis*>(axes.first());
        axis->setRange(0, maximum > 0 ? maximum * 1.05 : 1);
        axis->applyNiceNumbers();
        axis->setLabelFormat(column == 1 || column == 2 ? QStringLiteral("%.1f")
                                                        : QStringLiteral("%.0f"));
        axis->setTitleText(column == 1   ? QStringLiteral("Stunden")
                           : column == 2 ? m_table.currency
                                         : QString());
    }
    m_chartView->setMinimumHeight(std::max(240, int(values.size()) * kBarHeight + 80));
}

QStringList TStatistikDialog::chartCategories() const {
    QStringList top = m_categories->categories();
    std::reverse(top.begin(), top.end());
    return top;
}

QList<double> TStatistikDialog::chartValues() const {
    QList<double> top;
    for (int i = m_bars->count() - 1; i >= 0; --i)
        top.append(m_bars->at(i));
    return top;
}

void TStatistikDialog::printPressed() {
    if (!m_counted ||
        !printercheck::printerDefined(printers ? printers() : QStringList(), m_messages))
        return;
    TPreviewDialog* preview = TPreviewDialog::instance();
    if (!preview) {
        preview = new TPreviewDialog(m_state, m_messages, parentWidget());
        preview->setHelpHandler(m_help);
    }
    std::vector<QStringList> rows{statistics::titleRow()};
    for (const statistics::Row& row : m_table.rows)
        rows.push_back(statistics::displayRow(row, m_table.currency));
    TPrintStatDialog dialog(m_state, m_messages, *preview, m_kind, rows,
                            statistics::totalRow(m_table), this);
    dialog.setHelpHandler(m_help);
    dialog.exec();
}

void TStatistikDialog::saveAsCsv() {
    if (!m_counted)
        return;
    csvsave::saveWith(this, m_messages, windowTitle() + QStringLiteral(".csv"),
                      [this](QIODevice* file, const csv::Progress&) {
                          return statistics::writeCsv(m_table, file);
                      });
}
