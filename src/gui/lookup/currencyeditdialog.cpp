#include "currencyeditdialog.h"

#include "core/common/germanformat.h"
#include "core/common/messageservice.h"
#include "core/lookup/currencystore.h"
#include "core/lookup/lookupkinds.h"
#include "core/shell/appstate.h"
#include "lookupcommands.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

TCurrencyEditDialog::TCurrencyEditDialog(LookupCommands& commands, std::optional<double> key)
    : LookupEditWindow(commands, lookup::kCurrencies, key) {
    auto* grid = new QGridLayout;
    m_long = new QLineEdit(this);
    m_long->setMaxLength(40);
    m_short = new QLineEdit(this);
    m_short->setMaxLength(4);
    m_factor = new QLineEdit(this);
    const std::pair<QString, QLineEdit*> rows[] = {{QStringLiteral("Be&schreibung:"), m_long},
                                                   {QStringLiteral("&Währung:"), m_short},
                                                   {QStringLiteral("&Faktor:"), m_factor}};
    for (const auto& [text, edit] : rows) {
        auto* label = new QLabel(text, this);
        label->setBuddy(edit);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
    }
    // Short names are entered in capitals.
    connect(m_short, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = m_short->cursorPosition();
        m_short->setText(text.toUpper());
        m_short->setCursorPosition(cursor);
    });
    m_factor->setText(QStringLiteral("1"));
    if (key) {
        const std::optional<CurrencyRecord> record =
            CurrencyStore(db(), commands.state().settings).find(qint32(*key));
        setLoaded(bool(record));
        if (record) {
            m_long->setText(record->currencyLong);
            m_short->setText(record->currency);
            m_factor->setText(record->factor ? germanformat::formatNumber(*record->factor)
                                             : QString());
            m_long->selectAll();
        }
    }
    takeSnapshot();
    finishLayout(grid, 0);
}

QString TCurrencyEditDialog::longName() const {
    return m_snapshotLong;
}

bool TCurrencyEditDialog::changed() const {
    return m_long->text() != m_snapshotLong || m_short->text() != m_snapshotShort ||
           m_factor->text() != m_snapshotFactor;
}

void TCurrencyEditDialog::takeSnapshot() {
    m_snapshotLong = m_long->text();
    m_snapshotShort = m_short->text();
    m_snapshotFactor = m_factor->text();
}

bool TCurrencyEditDialog::refuse(const QString& text, QLineEdit* field) {
    messages().information(text);
    field->setFocus();
    return false;
}

std::optional<double> TCurrencyEditDialog::store() {
    if (m_long->text().trimmed().isEmpty()) {
        refuse(QStringLiteral("Im Feld Beschreibung muß ein Wert eingegeben werden!"), m_long);
        return std::nullopt;
    }
    if (m_short->text().trimmed().isEmpty()) {
        refuse(QStringLiteral("Im Feld Währung muß ein Wert eingegeben werden!"), m_short);
        return std::nullopt;
    }
    // Prices are divided by the factor.
    const std::optional<double> factor = germanformat::parseNumber(m_factor->text());
    if (!factor || !(*factor > 0)) {
        refuse(QStringLiteral("Im Feld Faktor muß ein Wert größer als 0 eingegeben werden!"),
               m_factor);
        return std::nullopt;
    }
    CurrencyEntry entry;
    if (key())
        entry.key = qint32(*key());
    entry.shortName = m_short->text().toUpper();
    entry.longName = m_long->text();
    entry.factor = *factor;
    return CurrencyStore(db(), commands().state().settings).save(entry);
}
