#include "fieldselectdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

TFieldSelectDialog::TFieldSelectDialog(Database& db, const QString& group, int kind,
                                       QWidget* parent)
    : TFieldSelectDialog(fieldlabels::selectableFields(db, group, kind), parent) {}

TFieldSelectDialog::TFieldSelectDialog(std::vector<fieldlabels::SelectableField> fields,
                                       QWidget* parent)
    : QDialog(parent), m_fields(std::move(fields)) {
    build();
}

void TFieldSelectDialog::build() {
    setWindowTitle(QStringLiteral("Feld auswählen und formatieren"));
    m_grid = new QTableWidget(int(m_fields.size()), 3);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Beschreibung"), QStringLiteral("Listentext"),
                                       QStringLiteral("Umbenannte Feldbezeichnung")});
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < int(m_fields.size()); ++row) {
        const fieldlabels::SelectableField& f = m_fields[size_t(row)];
        m_grid->setItem(row, 0, new QTableWidgetItem(f.description));
        m_grid->setItem(row, 1, new QTableWidgetItem(f.name));
        m_grid->setItem(row, 2, new QTableWidgetItem(f.renamed));
    }
    m_grid->resizeColumnsToContents();

    auto* navigation = new QHBoxLayout;
    const std::pair<const char*, std::function<int()>> moves[] = {
        {"|<", [] { return 0; }},
        {"<", [this] { return std::max(0, m_grid->currentRow() - 1); }},
        {">", [this] { return std::min(m_grid->rowCount() - 1, m_grid->currentRow() + 1); }},
        {">|", [this] { return m_grid->rowCount() - 1; }},
    };
    for (const auto& move : moves) {
        auto* button = new QPushButton(QString::fromLatin1(move.first));
        connect(button, &QPushButton::clicked, this, [this, target = move.second] {
            if (m_grid->rowCount() > 0)
                m_grid->selectRow(target());
        });
        navigation->addWidget(button);
    }
    navigation->addStretch();

    auto* styles = new QGroupBox(QStringLiteral("Schriftstil"));
    auto* styleLayout = new QVBoxLayout(styles);
    m_bold = new QCheckBox(QStringLiteral("Fettdruck"));
    m_italic = new QCheckBox(QStringLiteral("Kursivdruck"));
    m_underline = new QCheckBox(QStringLiteral("Unterstrichen"));
    m_normal = new QCheckBox(QStringLiteral("Normal"));
    for (QCheckBox* box : {m_bold, m_italic, m_underline, m_normal}) {
        styleLayout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this, box](bool on) { styleToggled(box, on); });
    }
    m_alignment = new QGroupBox(QStringLiteral("Feldausrichtung"));
    auto* alignLayout = new QVBoxLayout(m_alignment);
    m_plain = new QRadioButton(QStringLiteral("Normal"));
    m_padAfter = new QRadioButton(QStringLiteral("Auffüllen nach dem Text"));
    m_padBefore = new QRadioButton(QStringLiteral("Auffüllen vor dem Text"));
    for (QRadioButton* button : {m_plain, m_padAfter, m_padBefore})
        alignLayout->addWidget(button);
    m_plain->setChecked(true);

    auto* choices = new QHBoxLayout;
    choices->addWidget(styles);
    choices->addWidget(m_alignment);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Abbruch"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(navigation);
    layout->addLayout(choices);
    layout->addWidget(buttons);
    connect(m_grid, &QTableWidget::currentCellChanged, this, &TFieldSelectDialog::rowChanged);
    if (!m_fields.empty())
        m_grid->selectRow(0);
    rowChanged();
    resize(640, 480);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFieldSelectDialog::styleToggled(QCheckBox* box, bool on) {
    if (!on)
        return;
    if (box == m_normal) {
        for (QCheckBox* other : {m_bold, m_italic, m_underline})
            other->setChecked(false);
    } else {
        m_normal->setChecked(false);
    }
}

void TFieldSelectDialog::rowChanged() {
    const int row = m_grid->currentRow();
    const bool valid = row >= 0 && row < int(m_fields.size());
    const bool styled = valid && m_fields[size_t(row)].usage != -1;
    for (QCheckBox* box : {m_bold, m_italic, m_underline, m_normal}) {
        box->setEnabled(styled);
        if (!styled)
            box->setChecked(false);
    }
    m_alignment->setEnabled(valid && m_fields[size_t(row)].padded);
    m_plain->setChecked(true);
}

void TFieldSelectDialog::reject() {
    m_cancelled = true;
    QDialog::reject();
}

QString TFieldSelectDialog::result() const {
    const int row = m_grid->currentRow();
    if (m_cancelled || row < 0 || row >= int(m_fields.size()))
        return {};
    fieldlabels::Styles styles;
    styles.bold = m_bold->isChecked();
    styles.italic = m_italic->isChecked();
    styles.underline = m_underline->isChecked();
    styles.normal = m_normal->isChecked();
    const fieldlabels::Alignment alignment =
        m_padAfter->isChecked()    ? fieldlabels::Alignment::PadAfter
        : m_padBefore->isChecked() ? fieldlabels::Alignment::PadBefore
                                   : fieldlabels::Alignment::Normal;
    return fieldlabels::placeholder(m_fields[size_t(row)].name, styles, alignment);
}
