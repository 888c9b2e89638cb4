#include "fieldrenamedialog.h"

#include "core/catalogue/fieldlabels.h"
#include "core/common/messageservice.h"
#include "gui/shell/readonlyfield.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFieldRenameDialog::TFieldRenameDialog(Database& db, MessageService& messages, int labelKey,
                                       QWidget* parent)
    : QDialog(parent), m_db(db), m_messages(messages), m_key(labelKey) {
    setWindowTitle(QStringLiteral("Feld umbenennen"));
    QString original, description, current;
    try {
        original = fieldlabels::deliveredName(db, labelKey).value_or(QString());
        description = fieldlabels::description(db, labelKey);
        current = fieldlabels::userName(db, labelKey);
    } catch (const DbError& e) {
        m_messages.error(e.message());
    }
    m_original = readOnlyField(original);
    m_description = readOnlyField(description);
    m_name = new QLineEdit(current);
    m_name->setMaxLength(fieldlabels::kMaxNameLength);

    auto* form = new QFormLayout;
    auto addRow = [form](const QString& caption, QLineEdit* edit) {
        auto* label = new QLabel(caption);
        label->setBuddy(edit);
        form->addRow(label, edit);
    };
    addRow(QStringLiteral("&Originalbezeichnung:"), m_original);
    addRow(QStringLiteral("Beschreibung:"), m_description);
    addRow(QStringLiteral("&Neue Bezeichnung:"), m_name);

    auto* buttons = new QDialogButtonBox;
    m_ok = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Abbruch"), QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &TFieldRenameDialog::OkButtonClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_name, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_ok->setEnabled(!text.isEmpty()); });
    m_ok->setEnabled(!current.isEmpty());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    m_name->setFocus();
}

QString TFieldRenameDialog::newName() const {
    return m_name->text();
}

void TFieldRenameDialog::OkButtonClick() {
    const QString name = m_name->text();
    if (!fieldlabels::nameRefusal(name).isEmpty())
        return;
    try {
        fieldlabels::rename(m_db, m_key, name);
    } catch (const DbError& e) {
        m_messages.error(e.message());
        return;
    }
    accept();
}
