#include "editdbdialog.h"

#include "core/common/messageservice.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookupstore.h"
#include "lookupcommands.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

void addNameFields(QWidget* owner, QGridLayout* grid, QLineEdit*& longEdit, QLineEdit*& shortEdit) {
    longEdit = new QLineEdit(owner);
    longEdit->setMaxLength(50);
    shortEdit = new QLineEdit(owner);
    shortEdit->setMaxLength(10);
    auto* longLabel = new QLabel(QStringLiteral("B&ezeichnung;"), owner);
    longLabel->setBuddy(longEdit);
    auto* shortLabel = new QLabel(QStringLiteral("Kur&z:"), owner);
    shortLabel->setBuddy(shortEdit);
    grid->addWidget(longLabel, 0, 0);
    grid->addWidget(longEdit, 0, 1);
    grid->addWidget(shortLabel, 1, 0);
    grid->addWidget(shortEdit, 1, 1);
}

bool checkLongName(MessageService& messages, QLineEdit* longEdit) {
    if (!longEdit->text().trimmed().isEmpty())
        return true;
    messages.information(QStringLiteral("Im Feld Bezeichnung muß ein Wert eingegeben werden!"),
                         40513);
    longEdit->setFocus();
    return false;
}

TEditDBDialog::TEditDBDialog(LookupCommands& commands, int kind, std::optional<double> key)
    : LookupEditWindow(commands, kind, key) {
    auto* grid = new QGridLayout;
    addNameFields(this, grid, m_long, m_short);
    if (key) {
        const std::optional<LookupRecord> record = LookupStore(db(), kind).find(*key);
        setLoaded(bool(record));
        if (record) {
            m_long->setText(record->langbezeichnung);
            m_short->setText(record->kurzbezeichnung);
            m_long->selectAll();
        }
    }
    takeSnapshot();
    finishLayout(grid, lookup::kindInfo(kind).editHelp);
}

QString TEditDBDialog::longName() const {
    return m_snapshotLong;
}

bool TEditDBDialog::changed() const {
    return m_long->text() != m_snapshotLong || m_short->text() != m_snapshotShort;
}

void TEditDBDialog::takeSnapshot() {
    m_snapshotLong = m_long->text();
    m_snapshotShort = m_short->text();
}

std::optional<double> TEditDBDialog::store() {
    if (!checkLongName(messages(), m_long))
        return std::nullopt;
    LookupEntry entry;
    entry.key = key();
    entry.longName = m_long->text();
    entry.shortName = m_short->text();
    return LookupStore(db(), kind()).save(entry);
}
