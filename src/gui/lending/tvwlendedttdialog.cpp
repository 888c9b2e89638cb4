#include "tvwlendedttdialog.h"

#include "core/common/germanformat.h"
#include "core/common/messageservice.h"
#include "core/lending/borrowers.h"
#include "core/lending/lending.h"
#include "core/lending/reminderreport.h"
#include "core/shell/appstate.h"
#include "gui/shell/csvsave.h"
#include "gui/shell/printerchoice.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kLendedHelp = 36015;

} // namespace

TVwLendedTtDialog::TVwLendedTtDialog(const LendingContext& context, int borrower, QWidget* parent)
    : QDialog(parent), m_context(context), m_borrower(borrower),
      m_names(context.state, FieldLabelBinder::Lending) {
    setWindowTitle(QStringLiteral("Geliehene Tonträger"));
    setProperty("helpContext", kLendedHelp);
    Database& db = m_context.state.db;
    const std::optional<BorrowerRecord> b = borrowers::find(db, borrower);
    m_name = new QLabel(b ? b->name1 : QString());
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);

    QStringList titles{QStringLiteral("Verleihstatus"), QStringLiteral("Gruppe"),
                       QStringLiteral("Titel"),         QStringLiteral("Tonträgerart"),
                       QStringLiteral("Nummerierung"),  QStringLiteral("Verliehen am"),
                       QStringLiteral("Zurück am")};
    m_grid = new QTableWidget(0, int(titles.size()));
    m_grid->setHorizontalHeaderLabels(titles);
    const int keys[] = {10110, 10115, 10120, 10125};
    for (int i = 0; i < 4; ++i)
        m_names.addColumn(m_grid, i + 1, keys[i]);
    m_names.apply();
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setTabKeyNavigation(false);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    // Column widths from the first rows only: measuring a thousand rows costs more than the
    // query.
    m_grid->horizontalHeader()->setResizeContentsPrecision(40);

    auto* buttons = new QVBoxLayout;
    const std::pair<QString, void (TVwLendedTtDialog::*)()> commands[] = {
        {QStringLiteral("&Zurück"), &TVwLendedTtDialog::ReturnClick},
        {QStringLiteral("&Mahnen"), &TVwLendedTtDialog::RemindClick},
        {QStringLiteral("&Löschen"), &TVwLendedTtDialog::DeleteClick},
    };
    for (const auto& [caption, slot] : commands) {
        auto* button = new QPushButton(caption);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, slot);
        auto* action = new QAction(caption, m_grid);
        connect(action, &QAction::triggered, this, slot);
        m_grid->addAction(action);
        if (slot == &TVwLendedTtDialog::ReturnClick)
            button->setDefault(true);
        else
            button->setAutoDefault(false);
    }
    auto* close = new QPushButton(QStringLiteral("&Schließen"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* help = new QPushButton(QStringLiteral("&Hilfe"));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, [this] { m_context.showHelp(kLendedHelp); });
    buttons->addSpacing(12);
    buttons->addWidget(close);
    buttons->addWidget(help);
    buttons->addStretch(1);
    auto* closeAction = new QAction(QStringLiteral("&Schließen"), m_grid);
    connect(closeAction, &QAction::triggered, this, &QDialog::reject);
    auto* helpAction = new QAction(QStringLiteral("&Hilfe"), m_grid);
    connect(helpAction, &QAction::triggered, this, [this] { m_context.showHelp(kLendedHelp); });
    auto* saveCsv = new QAction(QStringLiteral("Als &CSV-Datei speichern..."), m_grid);
    connect(saveCsv, &QAction::triggered, this, [this] {
        csvsave::saveView(this, *m_grid, m_context.messages,
                          QStringLiteral("Geliehene Tonträger.csv"));
    });
    auto* separator = new QAction(m_grid);
    separator->setSeparator(true);
    auto* separator2 = new QAction(m_grid);
    separator2->setSeparator(true);
    m_grid->addActions({separator, saveCsv, separator2, closeAction, helpAction});

    auto* left = new QVBoxLayout;
    left->addWidget(m_name);
    left->addWidget(m_grid, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    resize(820, 380);
    reload();
}

const lendingqueries::OverviewRow* TVwLendedTtDialog::current() const {
    const int row = m_grid->currentRow();
    return row >= 0 && row < int(m_rows.size()) ? &m_rows[size_t(row)] : nullptr;
}

bool TVwLendedTtDialog::reload() {
    std::pair<int, qint32> keep{0, 0};
    const int oldRow = m_grid->currentRow();
    if (const auto* r = current())
        keep = {r->carrier, r->number};
    try {
        m_rows = lendingqueries::overview(m_context.state.db, m_borrower);
    } catch (const DbError& e) {
        m_context.messages.error(e.message());
        m_rows.clear();
    }
    m_grid->setRowCount(0);
    m_grid->setRowCount(int(m_rows.size()));
    int select = -1;
    for (int i = 0; i < int(m_rows.size()); ++i) {
        const lendingqueries::OverviewRow& r = m_rows[size_t(i)];
        const QString cells[] = {r.stateText,
                                 r.group,
                                 r.title,
                                 r.typeShort,
                                 germanformat::formatNumber(r.numbering),
                                 germanformat::formatDate(r.lentOn),
                                 germanformat::formatDate(r.returnedOn)};
        for (int c = 0; c < 7; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c >= 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(i, c, item);
        }
        if (std::pair{r.carrier, r.number} == keep)
            select = i;
    }
    m_grid->resizeColumnsToContents();
    if (m_rows.empty()) {
        m_grid->hide();
        return false;
    }
    m_grid->selectRow(select >= 0 ? select : std::clamp(oldRow, 0, int(m_rows.size()) - 1));
    return true;
}

void TVwLendedTtDialog::closeEmpty() {
    m_context.messages.information(
        QStringLiteral(
            "Es sind keine Daten zum Bearbeiten vorhanden. Das Fenster wird geschlossen!"),
        36003);
    reject();
}

int TVwLendedTtDialog::exec() {
    if (m_rows.empty()) {
        closeEmpty();
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

void TVwLendedTtDialog::ReturnClick() {
    const lendingqueries::OverviewRow* r = current();
    if (!r)
        return;
    if (r->state == 0) {
        m_context.messages.error(
            QStringLiteral("Dieser Tonträger ist nicht mehr verliehen und kann aus diesem Grund "
                           "auch nicht als zurückerhalten markiert werden."),
            36013);
        return;
    }
    if (returnCarrier)
        returnCarrier(r->carrier);
    if (!reload())
        closeEmpty();
}

void TVwLendedTtDialog::RemindClick() {
    const lendingqueries::OverviewRow* r = current();
    if (!r)
        return;
    if (r->state == 0) {
        m_context.messages.error(reminderreport::kNotLent, reminderreport::kNotLentHelp);
        return;
    }
    if (!printercheck::readyToPrint(m_context.state.db, printerchoice::availablePrinters(),
                                    m_context.messages, 3, reminderreport::kNoTemplates,
                                    reminderreport::kNoTemplatesHelp))
        return;
    if (remind)
        remind(r->carrier, r->number);
}

void TVwLendedTtDialog::DeleteClick() {
    const lendingqueries::OverviewRow* r = current();
    if (!r)
        return;
    if (r->state == 1) {
        m_context.messages.information(
            QStringLiteral("Der Tonträger ist noch verliehen. Deshalb kann dieser Eintrag nicht "
                           "gelöscht werden!"),
            36012);
        return;
    }
    if (m_context.messages.confirm(QStringLiteral("Sind Sie sicher?"),
                                   MessageButton::Yes | MessageButton::No | MessageButton::Help,
                                   36001) != MessageButton::Yes)
        return;
    try {
        lending::removeReturned(m_context.state.db, r->carrier, r->number);
    } catch (const DbError& e) {
        m_context.messages.error(e.message());
    }
    if (!reload())
        closeEmpty();
}
