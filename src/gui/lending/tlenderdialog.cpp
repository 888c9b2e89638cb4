#include "tlenderdialog.h"

#include "core/common/messageservice.h"
#include "core/lending/borrowers.h"
#include "core/shell/appstate.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <stdexcept>

namespace {
constexpr int kLenderHelp = 36008;
}

TLenderDialog::TLenderDialog(const LendingContext& context, int number, QWidget* parent)
    : QDialog(parent), m_context(context), m_number(number) {
    setProperty("helpContext", kLenderHelp);
    const auto& fields = borrowers::textFields();
    for (const borrowers::TextField& f : fields) {
        auto* e = new QLineEdit;
        e->setMaxLength(f.width);
        e->setObjectName(QString::fromUtf8(f.name));
        m_edits.push_back(e);
    }
    auto* form = new QFormLayout;
    auto* nameLabel = new QLabel(QStringLiteral("&Name:"));
    nameLabel->setBuddy(m_edits[0]);
    form->addRow(nameLabel, m_edits[0]);
    form->addRow(QString(), m_edits[1]);
    form->addRow(QStringLiteral("&Straße:"), m_edits[2]);
    form->addRow(QStringLiteral("Post&fach:"), m_edits[3]);
    auto* town = new QHBoxLayout;
    m_edits[4]->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 10 + 12);
    town->addWidget(m_edits[4]);
    town->addWidget(m_edits[5], 1);
    auto* townLabel = new QLabel(QStringLiteral("&Ort:"));
    townLabel->setBuddy(m_edits[4]);
    form->addRow(townLabel, town);
    form->addRow(QStringLiteral("&Land:"), m_edits[6]);
    form->addRow(QStringLiteral("&Telefon:"), m_edits[7]);

    auto* buttons = new QDialogButtonBox(Qt::Vertical);
    QPushButton* ok = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    QFont bold = ok->font();
    bold.setBold(true);
    ok->setFont(bold);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Abbruch"), QDialogButtonBox::RejectRole);
    buttons->addButton(QDialogButtonBox::Help)->setText(QStringLiteral("&Hilfe"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TLenderDialog::OkButtonClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { m_context.showHelp(kLenderHelp); });
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addWidget(buttons);

    std::optional<BorrowerRecord> record;
    if (number > 0)
        record = borrowers::find(m_context.state.db, number);
    if (record) {
        for (size_t i = 0; i < fields.size(); ++i)
            m_edits[i]->setText((*record).*fields[i].member);
        m_edits[0]->selectAll();
        setWindowTitle(QStringLiteral("Leiher bearbeiten:") + record->name1);
    } else {
        m_number = -1;
        setWindowTitle(QStringLiteral("Leiher erfassen"));
    }
    m_snapshot = texts();
    m_edits[0]->setFocus();
}

QStringList TLenderDialog::texts() const {
    QStringList t;
    for (const QLineEdit* e : m_edits)
        t << e->text();
    return t;
}

bool TLenderDialog::save() {
    BorrowerRecord r;
    r.folgenummer = m_number > 0 ? m_number : 0;
    const auto& fields = borrowers::textFields();
    for (size_t i = 0; i < fields.size(); ++i)
        r.*fields[i].member = m_edits[i]->text();
    if (const QString why = borrowers::refusal(r); !why.isEmpty()) {
        m_context.messages.information(why, 36007);
        m_edits[0]->setFocus();
        return false;
    }
    try {
        r = borrowers::save(m_context.state.db, r);
    } catch (const DbError& e) {
        // The values stay in the edits, so nothing typed is lost.
        m_context.messages.error(borrowers::kNotStored + QLatin1Char('\n') + e.message(),
                                 kLenderHelp);
        return false;
    } catch (const std::invalid_argument& e) {
        m_context.messages.information(QString::fromStdString(e.what()), 36007);
        return false;
    }
    m_number = qRound(r.folgenummer);
    setWindowTitle(windowTitle() + QStringLiteral(": ") + r.name1);
    for (size_t i = 0; i < fields.size(); ++i)
        m_edits[i]->setText(r.*fields[i].member);
    m_snapshot = texts();
    return true;
}

void TLenderDialog::OkButtonClick() {
    if (save())
        accept();
}

// The edits' current texts count, the focused one too: a name typed and closed away is
// asked about.
void TLenderDialog::done(int result) {
    if (m_closing)
        return;
    if (texts() != m_snapshot) {
        raise();
        activateWindow();
        m_closing = true;
        const MessageButton answer = m_context.messages.confirm(
            QStringLiteral("Die Daten wurden geändert! Sollen die Änderungen gespeichert werden?"),
            MessageButton::Yes | MessageButton::No | MessageButton::Cancel | MessageButton::Help,
            36006);
        m_closing = false;
        if (answer == MessageButton::Cancel || (answer == MessageButton::Yes && !save()))
            return;
        if (answer == MessageButton::Yes)
            result = QDialog::Accepted;
    }
    QDialog::done(result);
}
