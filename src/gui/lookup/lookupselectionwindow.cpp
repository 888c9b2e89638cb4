#include "lookupselectionwindow.h"

#include "core/common/messageservice.h"
#include "core/db/dberror.h"
#include "core/lookup/currencystore.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookupstore.h"
#include "core/shell/appstate.h"
#include "gui/shell/dialogkeys.h"
#include "gui/shell/waitcursor.h"
#include "lookupcommands.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/shell/mainwindow.h"

namespace {
constexpr int kKeyRole = Qt::UserRole + 1;
} // namespace

LookupSelectionWindow::LookupSelectionWindow(LookupCommands& commands, int kind,
                                             bool withContextMenu)
    : m_commands(commands), m_kind(kind) {
    connect(&commands.state().db.notifier(), &ChangeNotifier::changed, this,
            [this](Change what, int) {
                if (what == Change::Lookups)
                    reload();
            });
    const lookup::KindInfo& info = lookup::kindInfo(kind);
    setWindowTitle(info.selectionCaption);
    const bool currencies = kind == lookup::kCurrencies;
    m_model = new QStandardItemModel(0, 2, this);
    m_model->setHorizontalHeaderLabels(
        currencies
            ? QStringList{QStringLiteral("Currency"), QStringLiteral("Currency long")}
            : QStringList{QStringLiteral("Kurzbezeichnung"), QStringLiteral("Langbezeichnung")});
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_grid->setWordWrap(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->horizontalHeader()->resizeSection(
        0, fontMetrics().horizontalAdvance(m_model->headerData(0, Qt::Horizontal).toString()) + 24);
    setMinimumSize(520, 300);
    connect(m_grid, &QTableView::doubleClicked, this, &LookupSelectionWindow::change);

    m_change = new QPushButton(QStringLiteral("Änd&ern"), this);
    m_change->setDefault(true);
    auto* add = new QPushButton(QStringLiteral("&Neu"), this);
    m_delete = new QPushButton(QStringLiteral("&Löschen"), this);
    m_print = new QPushButton(QStringLiteral("&Drucken"), this);
    m_close = new QPushButton(QStringLiteral("&Schließen"), this);
    auto* help = new QPushButton(QStringLiteral("&Hilfe"), this);
    connect(m_change, &QPushButton::clicked, this, &LookupSelectionWindow::change);
    connect(add, &QPushButton::clicked, this, &LookupSelectionWindow::addNew);
    connect(m_delete, &QPushButton::clicked, this, &LookupSelectionWindow::remove);
    connect(m_print, &QPushButton::clicked, this, &LookupSelectionWindow::print);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    const int helpContext = info.selectionHelp;
    connect(help, &QPushButton::clicked, this,
            [this, helpContext] { m_commands.showHelp(helpContext); });

    // Shown or not as the program-wide hint setting says.
    m_change->setToolTip(QStringLiteral("Den gewählten Eintrag bearbeiten"));
    add->setToolTip(QStringLiteral("Einen neuen Eintrag anlegen"));
    m_delete->setToolTip(QStringLiteral("Den gewählten Eintrag löschen"));
    m_print->setToolTip(QStringLiteral("Die Liste drucken"));
    m_close->setToolTip(QStringLiteral("Das Fenster schließen"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_change, add, m_delete, m_print, m_close, help})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    if (withContextMenu) {
        m_menu = new QMenu(this);
        m_menu->addAction(QStringLiteral("&Ändern"), this, &LookupSelectionWindow::change);
        m_menu->addAction(QStringLiteral("&Neu"), this, &LookupSelectionWindow::addNew);
        m_menu->addAction(QStringLiteral("&Löschen"), this, &LookupSelectionWindow::remove);
        m_menu->addAction(QStringLiteral("Liste &drucken"), this, &LookupSelectionWindow::print);
        m_menu->addAction(QStringLiteral("&Schließen"), this, &QWidget::close);
        m_menu->addAction(QStringLiteral("&Hilfe"), this,
                          [this, helpContext] { m_commands.showHelp(helpContext); });
        m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_grid, &QWidget::customContextMenuRequested, this,
                [this](const QPoint& p) { m_menu->popup(m_grid->viewport()->mapToGlobal(p)); });
    }
    // Back from an edit window, the list shows what was saved there.
    m_activation = connect(commands.main().mdiArea(), &QMdiArea::subWindowActivated, this,
                           [this](QMdiSubWindow* w) {
                               if (w && w->widget() == this)
                                   reload();
                           });
    reload();
}

LookupSelectionWindow::~LookupSelectionWindow() {
    // Closing the frame activates other windows while this one's parts are going.
    disconnect(m_activation);
}

std::vector<LookupSelectionWindow::Row> LookupSelectionWindow::readRows() const {
    std::vector<Row> rows;
    Database& db = m_commands.state().db;
    if (m_kind == lookup::kCurrencies) {
        for (const CurrencyRecord& c : CurrencyStore(db, m_commands.state().settings).list())
            rows.push_back({double(c.index), c.currency, c.currencyLong});
    } else {
        for (const LookupRecord& r : LookupStore(db, m_kind).list())
            rows.push_back({r.indexNummer, r.kurzbezeichnung, r.langbezeichnung});
    }
    return rows;
}

void LookupSelectionWindow::reload() {
    const std::optional<double> selected = selectedKey();
    const int selectedRow = m_grid->currentIndex().row();
    std::vector<Row> rows;
    try {
        rows = readRows();
    } catch (const DbError& e) {
        m_commands.messages().error(e.message());
    }
    m_model->removeRows(0, m_model->rowCount());
    m_model->setRowCount(int(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) {
        auto* shortItem = new QStandardItem(rows[size_t(i)].shortName);
        shortItem->setData(rows[size_t(i)].key, kKeyRole);
        m_model->setItem(i, 0, shortItem);
        m_model->setItem(i, 1, new QStandardItem(rows[size_t(i)].longName));
    }
    if (!(selected && selectKey(*selected)) && !rows.empty())
        m_grid->selectRow(std::clamp(selectedRow, 0, int(rows.size()) - 1));
    updateEnabling();
}

void LookupSelectionWindow::updateEnabling() {
    const bool any = m_model->rowCount() > 0;
    m_grid->setEnabled(any);
    m_grid->setVisible(any);
    m_change->setEnabled(any);
    m_delete->setEnabled(any);
    m_print->setEnabled(any);
}

int LookupSelectionWindow::rowCount() const {
    return m_model->rowCount();
}

std::optional<double> LookupSelectionWindow::selectedKey() const {
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return m_model->item(current.row(), 0)->data(kKeyRole).toDouble();
}

bool LookupSelectionWindow::selectKey(double key) {
    for (int i = 0; i < m_model->rowCount(); ++i) {
        if (m_model->item(i, 0)->data(kKeyRole).toDouble() == key) {
            m_grid->selectRow(i);
            m_grid->setCurrentIndex(m_model->index(i, 0));
            return true;
        }
    }
    return false;
}

std::optional<LookupSelectionWindow::Row> LookupSelectionWindow::selectedRow() const {
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid() || m_model->rowCount() == 0)
        return std::nullopt;
    return Row{m_model->item(current.row(), 0)->data(kKeyRole).toDouble(),
               m_model->item(current.row(), 0)->text(), m_model->item(current.row(), 1)->text()};
}

int LookupSelectionWindow::helpOf(int context) const {
    return m_kind == lookup::kCurrencies ? 0 : context;
}

void LookupSelectionWindow::change() {
    const std::optional<Row> row = selectedRow();
    if (!row)
        return;
    MessageService& messages = m_commands.messages();
    if (row->key <= 0) {
        messages.information(QStringLiteral("Dieser Datensatz kann nicht verändert werden!"),
                             helpOf(40509));
        return;
    }
    if (QMdiSubWindow* open = m_commands.findEditor(m_kind, row->key)) {
        if (open->isMinimized())
            open->showNormal();
        open->mdiArea()->setActiveSubWindow(open);
        return;
    }
    m_commands.openEditor(m_kind, row->key);
}

void LookupSelectionWindow::addNew() {
    m_commands.openEditor(m_kind, std::nullopt);
}

void LookupSelectionWindow::remove() {
    const std::optional<Row> row = selectedRow();
    if (!row)
        return;
    MessageService& messages = m_commands.messages();
    const QString inUse = QStringLiteral(
        "Dieser Datensatz kann nicht gelöscht werden, da er noch in Verwendung ist!");
    if (row->key <= 0) {
        messages.information(QStringLiteral("Dieser Datensatz kann nicht gelöscht werden!"),
                             helpOf(40505));
        return;
    }
    if (m_commands.findEditor(m_kind, row->key)) {
        messages.information(QStringLiteral("Dieser Datensatz kann nicht gelöscht werden, da er "
                                            "gerade in Bearbeitung ist!"),
                             helpOf(40506));
        return;
    }
    Database& db = m_commands.state().db;
    const Settings& settings = m_commands.state().settings;
    try {
        bool used = false;
        {
            WaitCursor wait;
            used = m_kind == lookup::kCurrencies
                       ? CurrencyStore(db, settings).isInUse(qint32(row->key))
                       : LookupStore(db, m_kind).isInUse(row->key);
        }
        if (used) {
            messages.information(inUse, helpOf(40507));
            return;
        }
        const MessageButton answer = messages.confirm(
            QStringLiteral("Soll der Datensatz \"%1 [%2]\" wirklich gelöscht werden?")
                .arg(row->shortName, row->longName),
            MessageButton::Ok | MessageButton::Cancel | MessageButton::Help, helpOf(40508));
        if (answer != MessageButton::Ok)
            return;
        // The in-use test is repeated inside the deleting transaction.
        const DeleteOutcome outcome = m_kind == lookup::kCurrencies
                                          ? CurrencyStore(db, settings).remove(qint32(row->key))
                                          : LookupStore(db, m_kind).remove(row->key);
        if (outcome == DeleteOutcome::InUse)
            messages.information(inUse, helpOf(40507));
    } catch (const DbError& e) {
        messages.error(
            QStringLiteral("Der Datensatz konnte nicht gelöscht werden:\n%1").arg(e.message()));
    }
    reload();
}

// Enter in the grid is "Änd&ern", Escape "&Schließen".
void LookupSelectionWindow::keyPressEvent(QKeyEvent* event) {
    if (!handleDialogKey(this, event, m_change, [this] { m_close->click(); }))
        QWidget::keyPressEvent(event);
}

void LookupSelectionWindow::print() {
    m_commands.printList(m_kind);
}
