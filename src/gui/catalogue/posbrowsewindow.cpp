#include "posbrowsewindow.h"

#include "core/catalogue/carrierdelete.h"
#include "core/catalogue/listcsv.h"
#include "core/catalogue/songlistmodel.h"
#include "core/common/messageservice.h"
#include "core/printing/carrierreport.h"
#include "core/printing/printercheck.h"
#include "gui/shell/csvsave.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/printerchoice.h"
#include "gui/shell/waitcursor.h"

#include <QMenu>
#include <QTableView>

namespace {

const QString kSongsCaption = QStringLiteral("Gefundene Lieder bearbeiten");

QAction* makeAction(QObject* parent, const QString& caption, int help, const QString& hint) {
    auto* a = new QAction(caption, parent);
    a->setData(help);
    a->setStatusTip(hint);
    a->setToolTip(hint);
    return a;
}

} // namespace

TPosBrowseWindow::TPosBrowseWindow(TMain& main, MessageService& messages, SongListHooks hooks,
                                   int searchNumber, medialist::Filter filter, QWidget* parent)
    : CarrierBrowseWindow(main, messages, kHelpContext, parent), m_hooks(std::move(hooks)),
      m_filter(std::move(filter)) {
    setWindowTitle(kSongsCaption + QStringLiteral(": %1").arg(searchNumber));
    m_model = new SongListModel(this);
    connect(m_model, &SongListModel::countArrived, this, [this] {
        updateRowLabel();
        updateCommands();
    });
    createCommands();
    createWidgets();
    std::vector<FieldLabelBinder::Column> columns;
    for (const songlist::GridColumn& c : songlist::gridColumns())
        columns.push_back({c.labelKey, c.title});
    m_labels.addColumns(std::move(columns),
                        [this](const QStringList& titles) { showColumnTitles(titles); });
}

TPosBrowseWindow::~TPosBrowseWindow() = default;

void TPosBrowseWindow::createCommands() {
    m_edit = makeAction(this, QStringLiteral("Ä&ndern"), 10701,
                        QStringLiteral("Tonträger des Liedes ändern"));
    m_display = makeAction(this, QStringLiteral("&Anzeigen"), 10702,
                           QStringLiteral("Tonträger des Liedes anzeigen"));
    m_defaultSort =
        makeAction(this, QStringLiteral("&Standardsortierung"), 0,
                   QStringLiteral("Nach Gruppe, Titel, Art und Nummerierung sortieren"));
    m_print = makeAction(this, QStringLiteral("&Drucken"), 0,
                         QStringLiteral("Tonträger des Liedes drucken"));
    m_cover = makeAction(this, QStringLiteral("&Hülle drucken"), 0,
                         QStringLiteral("Hülle des Tonträgers drucken"));
    connect(m_edit, &QAction::triggered, this, &TPosBrowseWindow::EditClick);
    connect(m_display, &QAction::triggered, this, &TPosBrowseWindow::DisplayClick);
    connect(m_defaultSort, &QAction::triggered, this, &TPosBrowseWindow::defaultSort);
    connect(m_print, &QAction::triggered, this, &TPosBrowseWindow::PrintClick);
    connect(m_cover, &QAction::triggered, this, &TPosBrowseWindow::CoverClick);

    auto fill = [this](QMenu* menu) {
        menu->addActions({m_edit, m_display});
        menu->addSeparator();
        menu->addAction(m_defaultSort);
        menu->addSeparator();
        menu->addActions({m_print, m_cover});
        menu->setDefaultAction(m_edit);
    };
    m_menu = new QMenu(QStringLiteral("&Tonträger"));
    m_menu->setProperty("helpContext", 10710);
    fill(m_menu);
    m_context = new QMenu(this);
    fill(m_context);
    m_context->addSeparator();
    m_context->addAction(QStringLiteral("Als &CSV-Datei speichern..."), this,
                         &TPosBrowseWindow::saveAsCsv);
    // Einfg displays the carrier while the linked menu is shown.
    m_display->setShortcut(QKeySequence(Qt::Key_Insert));
    m_display->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(m_display);
}

void TPosBrowseWindow::createWidgets() {
    Frame frame;
    frame.model = m_model;
    frame.gridHint =
        QStringLiteral("Gefundene Lieder; ein Klick auf einen Spaltentitel sortiert nach dieser "
                       "Spalte");
    frame.buttons = {{QStringLiteral("Schließen"), nullptr, Button::Close},
                     {QStringLiteral("Ändern"), m_edit},
                     {QStringLiteral("Anzeigen"), m_display},
                     {QStringLiteral("Drucken"), m_print},
                     {QStringLiteral("Hülle dru."), m_cover},
                     {QStringLiteral("Hilfe"), nullptr, Button::Help}};
    frame.help = m_hooks.help;
    createFrame(frame);
}

void TPosBrowseWindow::runFirstQuery() {
    runQuery(songlist::validSortExpression(m_state.settings.searchSortOrder), std::nullopt, 0);
}

void TPosBrowseWindow::showColumnTitles(const QStringList& titles) {
    m_model->setColumnTitles(titles);
    fitColumns();
}

void TPosBrowseWindow::runQuery(const QString& sort, std::optional<songlist::SongKey> keep,
                                int fallbackRow) {
    m_sort = sort;
    m_model->setQuery(std::make_unique<songlist::Query>(m_state.db, sort, m_filter));
    int row = keep ? m_model->positionOf(*keep) : -1;
    m_model->growTo(row + 1);
    if (row < 0)
        row = qMin(fallbackRow, m_model->rowCount() - 1);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TPosBrowseWindow::currentChanged, Qt::UniqueConnection);
    setCurrentRow(row);
    updateRowLabel();
    updateCommands();
}

void TPosBrowseWindow::rerun(const QString& sort) {
    WaitCursor wait;
    const songlist::Row* row = m_model->rowAt(currentRow());
    const std::optional<songlist::SongKey> keep =
        row ? std::optional(songlist::keyOf(*row)) : std::nullopt;
    try {
        runQuery(sort, keep, qMax(0, currentRow()));
    } catch (const DbError& e) {
        m_messages.error(e.message());
    }
}

void TPosBrowseWindow::refresh() {
    rerun(m_sort);
}

void TPosBrowseWindow::updateCommands() {
    const bool rows = m_model->rowCount() > 0;
    m_edit->setEnabled(rows && bool(m_hooks.editCarrier));
    m_display->setEnabled(rows && bool(m_hooks.displayCarrier));
    m_defaultSort->setEnabled(rows);
    m_print->setEnabled(rows && bool(m_hooks.printCarrier));
    m_cover->setEnabled(rows && bool(m_hooks.printCover));
    updateButtons();
}

int TPosBrowseWindow::currentCarrier() const {
    const int row = currentRow();
    return row < 0 ? 0 : m_model->carrierNumberAt(row);
}

void TPosBrowseWindow::currentChanged() {
    const songlist::Row* row = m_model->rowAt(currentRow());
    showInitial(row ? medialist::initialOf((*row)[songlist::Group].toString()) : QString());
}

void TPosBrowseWindow::sortByColumn(int column) {
    const auto& columns = songlist::gridColumns();
    if (column < 0 || column >= int(columns.size()))
        return;
    const QString& expression = columns[size_t(column)].sortExpression;
    if (!expression.isEmpty())
        m_state.settings.searchSortOrder = expression;
    rerun(expression.isEmpty() ? m_sort : expression);
}

void TPosBrowseWindow::defaultSort() {
    m_state.settings.searchSortOrder.clear();
    rerun({});
}

void TPosBrowseWindow::jumpTo(QChar c) {
    if (!c.isLetterOrNumber() || !beginJump())
        return;
    int target = currentRow();
    try {
        const int row = qMax(0, currentRow());
        if (const songlist::Row* current = m_model->rowAt(row))
            target = int(m_model->query()->jump(row, *current, c.toUpper()));
        m_model->growTo(target + 1);
    } catch (const DbError& e) {
        m_messages.error(e.message());
    }
    endJump(target);
}

bool TPosBrowseWindow::printerThere() {
    return m_hooks.hasPrinter ? m_hooks.hasPrinter()
                              : !printerchoice::availablePrinters().isEmpty();
}

void TPosBrowseWindow::EditClick() {
    if (const int n = checkedCarrier(); n && m_hooks.editCarrier)
        m_hooks.editCarrier(n);
}

void TPosBrowseWindow::DisplayClick() {
    if (const int n = checkedCarrier(); n && m_hooks.displayCarrier)
        m_hooks.displayCarrier(n);
}

void TPosBrowseWindow::PrintClick() {
    try {
        if (!printercheck::printerDefined(printerThere(), m_messages,
                                          printercheck::kNoPrinterCarrier) ||
            !printercheck::templatesPresent(m_state.db, m_messages, 2, carrierreport::kNoTemplates,
                                            carrierreport::kNoTemplatesHelp))
            return;
    } catch (const DbError& e) {
        m_messages.error(e.message());
        return;
    }
    if (const int n = checkedCarrier(); n && m_hooks.printCarrier)
        m_hooks.printCarrier(n);
}

void TPosBrowseWindow::CoverClick() {
    if (!printerThere()) {
        m_messages.information(QStringLiteral("Es es kein Drucker definiert."), 15000);
        return;
    }
    if (const int n = checkedCarrier(); n && m_hooks.printCover)
        m_hooks.printCover(n);
}

void TPosBrowseWindow::saveAsCsv() {
    // The list writes itself in one pass rather than through the model's pages.
    songlist::Query* query = m_model->query();
    if (!query)
        return;
    QStringList titles; // as the grid shows them
    for (int c = 0; c < m_model->columnCount(); ++c)
        titles.append(m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    csvsave::saveWith(this, m_messages, QStringLiteral("Lieder.csv"),
                      [&](QIODevice* file, const csv::Progress& progress) {
                          return listcsv::write(m_state.db, *query, titles, file, progress);
                      });
}
