#include "searchdialog.h"

#include "core/common/messageservice.h"
#include "core/shell/appstate.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

constexpr int kFieldIndexRole = Qt::UserRole;

QLabel* buddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

void hint(QWidget* w, const QString& text) {
    w->setToolTip(text);
    w->setStatusTip(text);
}

} // namespace

TSearchDialog::TSearchDialog(AppState& state, MessageService& messages, QWidget* parent)
    : TSearchDialog(state, messages, search::Kind::Carriers,
                    QStringLiteral("Tonträger durchsuchen"), kHelpContext, 3, parent) {}

TSearchDialog::TSearchDialog(AppState& state, MessageService& messages, search::Kind kind,
                             const QString& caption, int helpContext, int renameSwitch,
                             QWidget* parent)
    : QDialog(parent), m_state(state), m_messages(messages), m_kind(kind),
      m_helpContext(helpContext) {
    setWindowTitle(caption);
    setProperty("helpContext", helpContext);
    createWidgets();
    FormCreate(renameSwitch);
}

void TSearchDialog::createWidgets() {
    m_fields = new QListWidget;
    hint(m_fields, QStringLiteral("Feld, in dem gesucht werden soll"));
    m_operators = new QListWidget;
    hint(m_operators, QStringLiteral("Vergleich (~ bedeutet: enthält)"));
    m_value = new QLineEdit;
    hint(m_value, QStringLiteral("Wert, mit dem das Feld verglichen wird"));
    m_lines = new QListWidget;
    hint(m_lines, QStringLiteral("Die Bedingungen der Suche"));
    m_operators->setMaximumWidth(90);

    auto button = [](const QString& text, const QString& tip) {
        auto* b = new QPushButton(text);
        b->setAutoDefault(false);
        hint(b, tip);
        return b;
    };
    m_and = button(QStringLiteral("&Und"), QStringLiteral("Bedingung mit UND hinzufügen"));
    m_or = button(QStringLiteral("O&der"), QStringLiteral("Bedingung mit ODER hinzufügen"));
    m_remove = button(QStringLiteral("&Entfernen"),
                      QStringLiteral("Ausgewählte Bedingung aus der Suche entfernen"));
    m_ok = button(QStringLiteral("&Ok"), QStringLiteral("Suche starten"));
    m_ok->setDefault(true);
    auto* cancel = button(QStringLiteral("&Abbruch"), QStringLiteral("Ohne Suche schließen"));
    auto* help = button(QStringLiteral("&Hilfe"), QStringLiteral("Hilfe zu diesem Dialog"));

    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(QStringLiteral("&Feld"), m_fields), 0, 0);
    grid->addWidget(buddyLabel(QStringLiteral("&Vergleich"), m_operators), 0, 1);
    grid->addWidget(buddyLabel(QStringLiteral("Vergleichs&wert"), m_value), 0, 2);
    grid->addWidget(m_fields, 1, 0, 3, 1);
    grid->addWidget(m_operators, 1, 1, 3, 1);
    grid->addWidget(m_value, 1, 2);
    auto* connectors = new QHBoxLayout;
    connectors->addWidget(m_and);
    connectors->addWidget(m_or);
    connectors->addStretch();
    grid->addLayout(connectors, 2, 2);
    grid->addWidget(buddyLabel(QStringLiteral("&Suche nach"), m_lines), 4, 0, 1, 3);
    grid->addWidget(m_lines, 5, 0, 1, 3);
    grid->setRowStretch(3, 1);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(2, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addSpacing(16);
    buttons->addWidget(m_remove);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    resize(620, 420);

    setTabOrder(m_fields, m_operators);
    setTabOrder(m_operators, m_value);
    setTabOrder(m_value, m_and);
    setTabOrder(m_and, m_or);
    setTabOrder(m_or, m_lines);
    setTabOrder(m_lines, m_ok);
    setTabOrder(m_ok, cancel);
    setTabOrder(cancel, help);
    setTabOrder(help, m_remove);

    connect(m_fields, &QListWidget::currentRowChanged, this, [this] { FieldClick(); });
    connect(m_operators, &QListWidget::itemClicked, this, [this] { OperatorClick(); });
    connect(m_operators, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            OperatorClick();
    });
    connect(m_operators, &QListWidget::itemDoubleClicked, this,
            [this] { AddCondition(search::Connector::And); });
    connect(m_value, &QLineEdit::textEdited, this, &TSearchDialog::lowerCaseTyping);
    connect(m_and, &QPushButton::clicked, this, [this] { AddCondition(search::Connector::And); });
    connect(m_or, &QPushButton::clicked, this, [this] { AddCondition(search::Connector::Or); });
    connect(m_remove, &QPushButton::clicked, this, &TSearchDialog::RemoveClick);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] {
        if (m_help)
            m_help(m_helpContext);
    });
}

void TSearchDialog::FormCreate(int renameSwitch) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The switches count from 0 here, from 1 in the binder.
    m_labels.emplace(m_state, FieldLabelBinder::Switch(renameSwitch + 1));
    const std::vector<search::Field>& fields = search::fields(m_kind);
    for (size_t i = 0; i < fields.size(); ++i) {
        const search::Field& f = fields[i];
        auto* item = new QListWidgetItem(f.name, m_fields);
        item->setData(kFieldIndexRole, int(i));
        m_labels->addEntry(item, f.labelKey);
    }
    m_labels->apply();
    QApplication::restoreOverrideCursor();
    m_fields->setCurrentRow(0);
    updateButtons();
}

const search::Field* TSearchDialog::currentField() const {
    const QListWidgetItem* item = m_fields->currentItem();
    if (!item)
        return nullptr;
    return &search::fields(m_kind).at(size_t(item->data(kFieldIndexRole).toInt()));
}

void TSearchDialog::FieldClick() {
    const search::Field* field = currentField();
    if (!field)
        return;
    {
        const QSignalBlocker block(m_operators);
        m_operators->clear();
        m_operators->addItems(search::operators(field->valueClass));
    }
    m_value->clear();
    m_value->setInputMask(search::inputMask(*field));
    const QString pattern = search::inputPattern(*field);
    delete m_value->validator();
    if (!pattern.isEmpty())
        m_value->setValidator(
            new QRegularExpressionValidator(QRegularExpression(pattern), m_value));
    m_value->setFocus();
    m_operators->setCurrentRow(0);
}

void TSearchDialog::OperatorClick() {
    const search::Field* field = currentField();
    const QListWidgetItem* op = m_operators->currentItem();
    m_lowerCase = field && op && field->valueClass == search::ValueClass::Text &&
                  op->text() == QLatin1String("~");
    if (m_lowerCase)
        lowerCaseTyping(m_value->text());
    m_value->setFocus();
    m_value->selectAll();
}

void TSearchDialog::lowerCaseTyping(const QString& text) {
    if (!m_lowerCase)
        return;
    const QString lower = text.toLower();
    if (lower == text)
        return;
    const int cursor = m_value->cursorPosition();
    m_value->setText(lower);
    m_value->setCursorPosition(cursor);
}

void TSearchDialog::AddCondition(search::Connector connector) {
    const search::Field* field = currentField();
    const QListWidgetItem* op = m_operators->currentItem();
    if (!field || !op)
        return;
    const QString error = m_conditions.add(*field, m_fields->currentItem()->text(), op->text(),
                                           m_value->text(), connector);
    if (!error.isEmpty()) {
        m_messages.error(error, m_helpContext);
        m_value->setFocus();
        return;
    }
    m_lines->clear();
    m_lines->addItems(m_conditions.visibleLines());
    updateButtons();
}

void TSearchDialog::RemoveClick() {
    const int row = m_lines->currentRow();
    if (row < 0 || !m_lines->currentItem()->isSelected())
        return;
    m_conditions.remove(row);
    m_lines->clear();
    m_lines->addItems(m_conditions.visibleLines());
    updateButtons();
}

void TSearchDialog::updateButtons() {
    m_remove->setEnabled(!m_conditions.isEmpty());
    m_ok->setEnabled(!m_conditions.isEmpty());
}
