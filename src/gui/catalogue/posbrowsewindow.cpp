#include "posbrowsewindow.h"

#include "core/catalogue/carrierdelete.h"
#include "core/catalogue/listcsv.h"
#include "core/catalogue/songlistmodel.h"
#include "core/common/messageservice.h"
#include "core/printing/templatestore.h"
#include "gui/shell/columnwidths.h"
#include "gui/shell/csvsave.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/printerchoice.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Gefundene Lieder bearbeiten");

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

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
    : QWidget(parent), m_main(main), m_state(main.state()), m_messages(messages),
      m_hooks(std::move(hooks)), m_filter(std::move(filter)) {
    setWindowTitle(kCaption + QStringLiteral(": %1").arg(searchNumber));
    setProperty("helpContext", kHelpContext);
    m_model = new SongListModel(this);
    createCommands();
    createWidgets();
    std::vector<FieldLabelBinder::Column> columns;
    for (const songlist::GridColumn& c : songlist::gridColumns())
        columns.push_back({c.labelKey, c.title});
    m_labels.addColumns(std::move(columns),
                        [this](const QStringList& titles) { showColumnTitles(titles); });
}

TPosBrowseWindow::~TPosBrowseWindow() {
    delete m_menu; // shown in the main window's menu bar, so not a child of this window
}

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
    m_tabs = new QTabBar(this);
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(true);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    for (char c = '0'; c <= '9'; ++c)
        m_tabs->addTab(QString(QLatin1Char(c)));
    for (char c = 'A'; c <= 'Z'; ++c)
        m_tabs->addTab(QString(QLatin1Char(c)));
    connect(m_tabs, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0)
            jumpTo(m_tabs->tabText(index).at(0));
    });

    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setWordWrap(false);
    m_grid->installEventFilter(this);
    m_grid->setStatusTip(QStringLiteral("Gefundene Lieder; ein Klick auf einen Spaltentitel "
                                        "sortiert nach dieser Spalte"));
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TPosBrowseWindow::sortByColumn);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { m_context->popup(m_grid->viewport()->mapToGlobal(p)); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this,
            [this] { m_state.settings.doubleClickChange ? EditClick() : DisplayClick(); });
    auto* contextKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    contextKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(contextKey, &QShortcut::activated, this, [this] {
        const QRect r = m_grid->visualRect(m_grid->currentIndex());
        m_context->popup(
            m_grid->viewport()->mapToGlobal(r.isValid() ? r.center() : QPoint(10, 10)));
    });

    auto* navigator = new QHBoxLayout;
    auto navButton = [this, navigator](const QString& text, const QString& hint, auto slot) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(hint);
        b->setStatusTip(hint);
        connect(b, &QToolButton::clicked, this, slot);
        navigator->addWidget(b);
    };
    navButton(QStringLiteral("|◀"), QStringLiteral("Dateianfang"), [this] { setCurrentRow(0); });
    navButton(QStringLiteral("◀"), QStringLiteral("Vorheriger Datensatz"),
              [this] { setCurrentRow(qMax(0, currentRow() - 1)); });
    navButton(QStringLiteral("▶"), QStringLiteral("Nächster Datensatz"),
              [this] { setCurrentRow(qMin(m_model->rowCount() - 1, currentRow() + 1)); });
    navButton(QStringLiteral("▶|"), QStringLiteral("Dateiende"),
              [this] { setCurrentRow(m_model->rowCount() - 1); });
    navButton(QStringLiteral("↻"), QStringLiteral("Anzeige aktualisieren"), [this] { refresh(); });
    navigator->addSpacing(12);
    m_rowLabel = new QLabel(this);
    navigator->addWidget(m_rowLabel);
    navigator->addStretch();

    auto* buttons = new QVBoxLayout;
    auto button = [this, buttons](const QString& text, QAction* action, const QString& hint) {
        auto* b = new QPushButton(text, this);
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolTip(hint);
        b->setStatusTip(hint);
        buttons->addWidget(b);
        if (action) {
            connect(b, &QPushButton::clicked, action, &QAction::trigger);
            m_buttons.append({b, action});
        }
        return b;
    };
    connect(button(QStringLiteral("Schließen"), nullptr, QStringLiteral("Fenster schließen")),
            &QPushButton::clicked, this, [this] { closeWindow(); });
    button(QStringLiteral("Ändern"), m_edit, m_edit->statusTip());
    button(QStringLiteral("Anzeigen"), m_display, m_display->statusTip());
    button(QStringLiteral("Drucken"), m_print, m_print->statusTip());
    button(QStringLiteral("Hülle dru."), m_cover, m_cover->statusTip());
    connect(button(QStringLiteral("Hilfe"), nullptr, QStringLiteral("Hilfe zu diesem Fenster")),
            &QPushButton::clicked, this, [this] {
                if (m_hooks.help)
                    m_hooks.help(kHelpContext);
            });
    buttons->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(m_tabs);
    left->addWidget(m_grid, 1);
    left->addLayout(navigator);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    resize(900, 480);
}

bool TPosBrowseWindow::FormCreate() {
    WaitCursor wait;
    m_labels.apply();
    try {
        runQuery(songlist::validSortExpression(m_state.settings.searchSortOrder), std::nullopt, 0);
    } catch (const DbError& e) {
        m_messages.error(e.message());
        return false;
    }
    if (m_model->rowCount() == 0) {
        m_messages.information(QStringLiteral("Es wurden keine Daten gefunden!"), 40302);
        return false;
    }
    columnwidths::fit(*m_grid, 60); // now with the first rows
    return true;
}

void TPosBrowseWindow::showColumnTitles(const QStringList& titles) {
    m_model->setColumnTitles(titles);
    columnwidths::fit(*m_grid, 60);
}

void TPosBrowseWindow::runQuery(const QString& sort, std::optional<songlist::SongKey> keep,
                                int fallbackRow) {
    m_sort = sort;
    m_model->setQuery(std::make_unique<songlist::Query>(m_state.db, sort, m_filter));
    int row = keep ? m_model->positionOf(*keep) : -1;
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
    for (const auto& [b, a] : std::as_const(m_buttons))
        b->setEnabled(a->isEnabled());
}

int TPosBrowseWindow::currentRow() const {
    return m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
}

void TPosBrowseWindow::setCurrentRow(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    const int column = qMax(0, m_grid->currentIndex().column());
    m_grid->setCurrentIndex(m_model->index(row, column));
    m_grid->scrollTo(m_model->index(row, column));
    updateRowLabel();
}

int TPosBrowseWindow::currentCarrier() const {
    const int row = currentRow();
    return row < 0 ? 0 : m_model->carrierNumberAt(row);
}

void TPosBrowseWindow::currentChanged() {
    updateRowLabel();
    const songlist::Row* row = m_model->rowAt(currentRow());
    const QString initial =
        row ? medialist::initialOf((*row)[songlist::Group].toString()) : QString();
    const QSignalBlocker block(m_tabs);
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->tabText(i) == initial) {
            m_tabs->setCurrentIndex(i);
            break;
        }
    }
}

void TPosBrowseWindow::updateRowLabel() {
    const int row = currentRow();
    const int count = m_model->rowCount();
    m_rowLabel->setText(
        QStringLiteral("Datensatz %1 von %2").arg(row < 0 ? 0 : row + 1).arg(row < 0 ? 0 : count));
}

QList<QMenu*> TPosBrowseWindow::contributedMenus() {
    return {m_menu};
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
    if (m_jumping || m_model->rowCount() == 0 || !c.isLetterOrNumber())
        return;
    m_jumping = true;
    m_tabs->setEnabled(false);
    m_grid->setUpdatesEnabled(false);
    int target = currentRow();
    try {
        const int row = qMax(0, currentRow());
        if (const songlist::Row* current = m_model->rowAt(row))
            target = int(m_model->query()->jump(row, *current, c.toUpper()));
    } catch (const DbError& e) {
        m_messages.error(e.message());
    }
    setCurrentRow(target);
    m_grid->setUpdatesEnabled(true);
    m_tabs->setEnabled(true);
    m_jumping = false;
    currentChanged();
}

bool TPosBrowseWindow::printerThere() {
    return m_hooks.hasPrinter ? m_hooks.hasPrinter()
                              : !printerchoice::availablePrinters().isEmpty();
}

int TPosBrowseWindow::checkedCarrier() {
    const int carrier = currentCarrier();
    if (carrier == 0)
        return 0;
    try {
        if (carrierdelete::describe(m_state.db, carrier))
            return carrier;
    } catch (const DbError& e) {
        m_messages.error(e.message());
        return 0;
    }
    m_messages.information(QStringLiteral("Der Tonträger ist nicht mehr vorhanden."), kHelpContext);
    refresh();
    return 0;
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
    if (!printerThere()) {
        m_messages.information(QStringLiteral("Es ist kein Drucker definiert."), 15000);
        return;
    }
    try {
        if (templatestore::byType(m_state.db, 2).empty()) {
            m_messages.error(QStringLiteral("Es sind keine Druckvorlagen vorhanden. Der Tonträger "
                                            "kann nicht ausgedruckt werden.!"),
                             31006);
            return;
        }
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

bool TPosBrowseWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            key->accept();
            EditClick();
            return true;
        }
        const QString text = key->text();
        if ((key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::ShiftModifier) &&
            text.size() == 1 && text.at(0).isLetterOrNumber()) {
            key->accept();
            jumpTo(text.at(0).toUpper());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TPosBrowseWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        closeWindow();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TPosBrowseWindow::closeWindow() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void TPosBrowseWindow::closeEvent(QCloseEvent* event) {
    m_menu->hide();
    event->accept();
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
