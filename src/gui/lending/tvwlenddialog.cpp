#include "tvwlenddialog.h"

#include "borrowergrid.h"
#include "core/common/germanformat.h"
#include "core/common/messageservice.h"
#include "core/lending/borrowers.h"
#include "core/lending/lending.h"
#include "core/lending/lendingqueries.h"
#include "core/shell/appstate.h"
#include "tlenderdialog.h"

#include "gui/shell/readonlyfield.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TVwLendDialog::TVwLendDialog(const LendingContext& context, bool lend, int carrierNumber,
                             QWidget* parent)
    : QDialog(parent), m_context(context), m_lend(lend), m_carrier(carrierNumber),
      m_names(context.state, FieldLabelBinder::Lending) {
    const int help = lend ? 36004 : 36005;
    setWindowTitle(QStringLiteral("Verleihverwaltung"));
    setProperty("helpContext", help);
    Database& db = m_context.state.db;

    // The carrier, read-only.
    const lendingqueries::CarrierSummary carrier =
        lendingqueries::carrierSummary(db, carrierNumber);
    auto* carrierForm = new QFormLayout;
    const std::pair<int, QString> labels[] = {{10110, QStringLiteral("Gruppe:")},
                                              {10115, QStringLiteral("Titel:")},
                                              {10120, QStringLiteral("Art:")},
                                              {10125, QStringLiteral("Lfd.-Nr.:")}};
    const QString values[] = {carrier.group, carrier.title, carrier.typeShort,
                              germanformat::formatNumber(carrier.numbering)};
    for (int i = 0; i < 4; ++i) {
        const auto& [key, caption] = labels[i];
        auto* label = new QLabel(caption);
        m_labels.insert(key, label);
        m_names.addLabel(label, key);
        carrierForm->addRow(label, readOnlyField(values[i]));
    }
    m_names.apply();

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addLayout(carrierForm, 1);
    auto* buttons = new QDialogButtonBox(Qt::Vertical);
    top->addWidget(buttons);
    layout->addLayout(top);
    auto* dates = new QFormLayout;
    layout->addLayout(dates);

    const QDate today = m_context.clock().date();
    if (lend) {
        m_lentOn = readOnlyField(germanformat::formatDate(today));
        auto* label = new QLabel(QStringLiteral("&Verliehen am:"));
        label->setBuddy(m_lentOn);
        dates->addRow(label, m_lentOn);
        m_grid = new BorrowerGrid;
        layout->addWidget(m_grid, 1);
        m_new = buttons->addButton(QStringLiteral("&Erfassen"), QDialogButtonBox::ActionRole);
        connect(m_new, &QPushButton::clicked, this, &TVwLendDialog::NewClick);
        connect(m_grid, &QTableWidget::cellDoubleClicked, this, &TVwLendDialog::OkButtonClick);
        newBorrower = [this] {
            TLenderDialog dialog(m_context, -1, this);
            dialog.exec();
            return dialog.storedNumber();
        };
        m_grid->reload(db);
        resize(720, 420);
    } else {
        const std::optional<LendingRecord> open = lending::openLending(db, carrierNumber);
        std::optional<BorrowerRecord> borrower;
        if (open)
            borrower = borrowers::find(db, qRound(open->verliehenAn.value_or(0)));
        const BorrowerRecord b = borrower.value_or(BorrowerRecord());
        m_lentOn = readOnlyField(open ? germanformat::formatDate(open->verliehenAm) : QString());
        m_returnedOn = readOnlyField(germanformat::formatDate(today));
        auto* lentLabel = new QLabel(QStringLiteral("&Verliehen am:"));
        lentLabel->setBuddy(m_lentOn);
        auto* backLabel = new QLabel(QStringLiteral("&Zurück am:"));
        backLabel->setBuddy(m_returnedOn);
        dates->addRow(lentLabel, m_lentOn);
        dates->addRow(backLabel, m_returnedOn);
        auto pair = [](QLineEdit* first, QLineEdit* second) {
            auto* row = new QHBoxLayout;
            row->addWidget(first);
            row->addWidget(second, 1);
            return row;
        };
        dates->addRow(QStringLiteral("Name:"),
                      pair(readOnlyField(b.name1), readOnlyField(b.name2)));
        dates->addRow(QStringLiteral("Straße:"), readOnlyField(b.strasse));
        dates->addRow(QStringLiteral("Postfach:"), readOnlyField(b.postfach));
        dates->addRow(QStringLiteral("Ort:"),
                      pair(readOnlyField(b.postleitzahl), readOnlyField(b.ort)));
        dates->addRow(QStringLiteral("Land:"), readOnlyField(b.land));
        dates->addRow(QStringLiteral("Telefon:"), readOnlyField(b.telefon));
        resize(520, 360);
    }
    m_ok = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    m_ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Abbruch"), QDialogButtonBox::RejectRole);
    buttons->addButton(QDialogButtonBox::Help)->setText(QStringLiteral("&Hilfe"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TVwLendDialog::OkButtonClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this, help] { m_context.showHelp(help); });
    updateEnabled();
}

// Lending needs a borrower: grid and "&Ok" wait until one is entered.
void TVwLendDialog::updateEnabled() {
    if (!m_grid)
        return;
    const bool rows = m_grid->rowCount() > 0;
    m_grid->setVisible(rows);
    m_grid->setEnabled(rows);
    m_ok->setEnabled(rows);
    if (rows)
        m_grid->setFocus();
}

void TVwLendDialog::NewClick() {
    const int stored = newBorrower ? newBorrower() : 0;
    m_grid->reload(m_context.state.db, stored);
    updateEnabled();
}

void TVwLendDialog::OkButtonClick() {
    lending::Outcome o;
    if (m_lend) {
        const int borrower = m_grid->currentNumber();
        if (!borrower)
            return;
        o = lending::lend(m_context.state.db, m_carrier, borrower, m_context.clock());
    } else {
        o = lending::takeBack(m_context.state.db, m_carrier, m_context.clock().date(),
                              m_context.state.settings.directDeleteLended);
    }
    if (o.ok()) {
        accept();
        return;
    }
    m_context.messages.error(o.message, o.helpContext);
    // A failed write may succeed on a second try; a refusal will not.
    if (o.status != lending::Outcome::Failed)
        reject();
}
