#include "tvwdialog.h"

#include "borrowergrid.h"
#include "core/common/messageservice.h"
#include "core/lending/borrowers.h"
#include "core/lending/lendinglistreport.h"
#include "core/shell/appstate.h"
#include "tlenderdialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kLendingHelp = 36000;
}

TVwDialog::TVwDialog(const LendingContext& context, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setWindowTitle(QStringLiteral("Verleihverwaltung"));
    setProperty("helpContext", kLendingHelp);
    m_grid = new BorrowerGrid;
    auto* buttons = new QVBoxLayout;
    auto add = [this, buttons](const QString& caption, void (TVwDialog::*slot)()) {
        auto* b = new QPushButton(caption);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        if (slot)
            connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    m_new = add(QStringLiteral("&Neu"), &TVwDialog::NewClick);
    m_change = add(QStringLiteral("Änd&ern"), &TVwDialog::ChangeClick);
    m_delete = add(QStringLiteral("&Löschen"), &TVwDialog::DeleteClick);
    buttons->addSpacing(12);
    m_lender = add(QStringLiteral("Lei&her"), &TVwDialog::LenderClick);
    m_all = add(QStringLiteral("&Alles"), &TVwDialog::AllClick);
    buttons->addSpacing(12);
    m_edit = add(QStringLiteral("&Bearbeiten"), &TVwDialog::EditClick);
    m_close = add(QStringLiteral("&Schließen"), nullptr);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    QPushButton* help = add(QStringLiteral("&Hilfe"), nullptr);
    connect(help, &QPushButton::clicked, this, [this] { m_context.showHelp(kLendingHelp); });
    buttons->addStretch(1);
    m_edit->setDefault(true);
    m_lender->setToolTip(QStringLiteral("Verleihliste des gewählten Leihers drucken"));
    m_all->setToolTip(QStringLiteral("Verleihliste aller Leiher drucken"));
    m_edit->setToolTip(QStringLiteral("Die verliehenen Tonträger des Leihers bearbeiten"));
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { EditClick(); });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(760, 360);

    editBorrower = [this](int number) {
        TLenderDialog dialog(m_context, number, this);
        dialog.exec();
        return dialog.storedNumber();
    };
    m_grid->reload(m_context.state.db);
    updateEnabled();
}

QPushButton* TVwDialog::button(const QString& caption) const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == caption)
            return b;
    return nullptr;
}

// Without a borrower there is nothing to select: grid and the commands on a borrower go.
void TVwDialog::updateEnabled() {
    const bool rows = m_grid->rowCount() > 0;
    m_grid->setVisible(rows);
    m_grid->setEnabled(rows);
    for (QPushButton* b : {m_delete, m_change, m_edit, m_lender})
        b->setEnabled(rows);
    m_edit->setDefault(rows);
}

void TVwDialog::NewClick() {
    const int stored = editBorrower ? editBorrower(-1) : 0;
    m_grid->reload(m_context.state.db, stored);
    updateEnabled();
}

void TVwDialog::ChangeClick() {
    const int number = m_grid->currentNumber();
    if (!number)
        return;
    editBorrower(number);
    m_grid->reload(m_context.state.db, number);
    updateEnabled();
}

void TVwDialog::DeleteClick() {
    const int number = m_grid->currentNumber();
    if (!number)
        return;
    Database& db = m_context.state.db;
    try {
        if (borrowers::hasOpenLendings(db, number)) {
            m_context.messages.information(borrowers::kHasOpenLendings, 36002);
            return;
        }
        if (m_context.messages.confirm(QStringLiteral("Sind Sie sicher? "),
                                       MessageButton::Yes | MessageButton::No | MessageButton::Help,
                                       36001) != MessageButton::Yes)
            return;
        // Checked again with the deletions: a lending stored meanwhile still refuses.
        if (borrowers::remove(db, number) == borrowers::RemoveResult::HasOpenLendings)
            m_context.messages.information(borrowers::kHasOpenLendings, 36002);
    } catch (const DbError& e) {
        m_context.messages.error(e.message());
    }
    m_grid->reload(db);
    updateEnabled();
}

// A borrower with only returned lendings is accepted as "&Bearbeiten" accepts it; the print
// dialog then says when the chosen entries are empty.
void TVwDialog::LenderClick() {
    const int number = m_grid->currentNumber();
    if (!number || !lendinglistreport::checkList(m_context.state.db, m_context.messages, number))
        return;
    if (openList)
        openList(number);
    m_grid->reload(m_context.state.db, number);
}

void TVwDialog::AllClick() {
    const int number = m_grid->currentNumber();
    if (!lendinglistreport::checkList(m_context.state.db, m_context.messages, -1))
        return;
    if (openList)
        openList(-1);
    m_grid->reload(m_context.state.db, number);
    updateEnabled();
}

void TVwDialog::EditClick() {
    const int number = m_grid->currentNumber();
    if (!number ||
        !lendinglistreport::checkOverview(m_context.state.db, m_context.messages, number))
        return;
    if (openOverview)
        openOverview(number);
    m_grid->reload(m_context.state.db, number);
}
