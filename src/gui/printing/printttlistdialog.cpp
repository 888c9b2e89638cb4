#include "printttlistdialog.h"

#include "core/common/messageservice.h"
#include "core/printing/medialistreport.h"
#include "core/shell/appstate.h"
#include "fontfamilybox.h"
#include "previewdialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QButtonGroup* radioGroup(QGroupBox* box, const QStringList& captions) {
    auto* group = new QButtonGroup(box);
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i]);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    return group;
}

} // namespace

TPrintTtListDialog::TPrintTtListDialog(AppState& state, MessageService& messages,
                                       TPreviewDialog& preview, QWidget* parent)
    : ReportDialog(state, messages, QStringLiteral("Tonträgerliste drucken"), 34001, parent),
      m_previewDialog(preview) {
    build();
}

void TPrintTtListDialog::build() {
    const Settings& settings = m_state.settings;

    auto* grid = new QGridLayout(controls());
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(printerLabel(), 0, 0, 1, 2);

    // Left: the entries of the chosen lookup table.
    auto* left = new QVBoxLayout;
    m_listLabel = new QLabel;
    m_list = new QListWidget;
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    m_list->setToolTip(QStringLiteral("Wählen Sie die Einträge, deren Tonträger gedruckt werden"));
    m_listLabel->setBuddy(m_list);
    m_all = new QPushButton(QStringLiteral("A&lle"));
    m_none = new QPushButton(QStringLiteral("&Keiner"));
    m_all->setAutoDefault(false);
    m_none->setAutoDefault(false);
    connect(m_all, &QPushButton::clicked, m_list, &QListWidget::selectAll);
    connect(m_none, &QPushButton::clicked, m_list, &QListWidget::clearSelection);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(m_all);
    listButtons->addWidget(m_none);
    left->addWidget(m_listLabel);
    left->addWidget(m_list, 1);
    left->addLayout(listButtons);
    grid->addLayout(left, 1, 0, 3, 1);

    // Right: kind, order, purchase date.
    auto* selectionBox = new QGroupBox(QStringLiteral("Aus&wahl"));
    m_selection =
        radioGroup(selectionBox, {QStringLiteral("Tontr&ägerarten"), QStringLiteral("Statusa&rten"),
                                  QStringLiteral("Musikrichtun&gen")});
    auto* sortBox = new QGroupBox(QStringLiteral("S&ortierung"));
    m_sort = radioGroup(sortBox, {QStringLiteral("Al&phabetische Sortierung"),
                                  QStringLiteral("Sortierung nach &Nummerierung")});
    auto* dateRow = new QHBoxLayout;
    m_dateBox = new QCheckBox(QStringLiteral("Datumsab&frage"));
    m_dateBox->setToolTip(QStringLiteral("Nur Tonträger, die nach dem Datum gekauft wurden"));
    auto* dateLabel = new QLabel(QStringLiteral("Kaufdatu&m"));
    m_date = new QDateEdit(QDate::currentDate());
    m_date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_date->setCalendarPopup(true);
    m_date->setEnabled(false);
    dateLabel->setBuddy(m_date);
    connect(m_dateBox, &QCheckBox::toggled, m_date, &QWidget::setEnabled);
    dateRow->addWidget(m_dateBox);
    dateRow->addWidget(dateLabel);
    dateRow->addWidget(m_date, 1);
    grid->addWidget(selectionBox, 1, 1);
    grid->addWidget(sortBox, 2, 1);
    grid->addLayout(dateRow, 3, 1);

    // Below: templates, font and preview.
    QLabel* gridLabel = createTemplateGrid(1);
    templateGrid()->setMaximumHeight(110);
    grid->addWidget(gridLabel, 4, 0, 1, 2);
    grid->addWidget(templateGrid(), 5, 0, 1, 2);

    QHBoxLayout* font = fontRow(settings.fontNameList, settings.fontSizeList);
    font->addWidget(previewBox());
    grid->addLayout(font, 6, 0, 1, 2);
    finishLayout();

    m_selection->button(medialistreport::validSelection(settings.printListSelectType))
        ->setChecked(true);
    m_sort->button(medialistreport::validOrder(settings.printListSortType))->setChecked(true);
    fillList();
    connect(m_selection, &QButtonGroup::idClicked, this, [this](int kind) {
        m_state.settings.printListSelectType = kind;
        fillList();
    });
    connect(m_sort, &QButtonGroup::idClicked, this,
            [this](int order) { m_state.settings.printListSortType = order; });

    // Centred and of fixed size.
    adjustSize();
    setFixedSize(sizeHint());
    if (const QScreen* screen =
            parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

int TPrintTtListDialog::selectionKind() const {
    return std::max(0, m_selection->checkedId());
}

void TPrintTtListDialog::setSelectionKind(int kind) {
    if (QAbstractButton* button = m_selection->button(medialistreport::validSelection(kind)))
        button->click();
}

int TPrintTtListDialog::order() const {
    return std::max(0, m_sort->checkedId());
}

void TPrintTtListDialog::setOrder(int order) {
    if (QAbstractButton* button = m_sort->button(medialistreport::validOrder(order)))
        button->click();
}

void TPrintTtListDialog::fillList() {
    const int kind = selectionKind();
    m_listLabel->setText(medialistreport::selectionLabel(kind));
    m_rows = medialistreport::selectionRows(m_state.db, kind);
    m_list->clear();
    for (const LookupRecord& row : m_rows)
        m_list->addItem(row.langbezeichnung);
}

void TPrintTtListDialog::print() {
    if (running())
        return;
    medialistreport::Options options;
    options.selection = selectionKind();
    for (int i = 0; i < m_list->count() && i < int(m_rows.size()); ++i)
        if (m_list->item(i)->isSelected())
            options.codes.push_back(m_rows[size_t(i)].indexNummer);
    if (options.codes.empty()) {
        m_messages.information(medialistreport::noSelectionText(options.selection),
                               medialistreport::noSelectionHelp(options.selection));
        return;
    }
    options.order = order();
    if (m_dateBox->isChecked())
        options.boughtAfter = m_date->date();
    options.templ = selectedTemplate();
    options.fontName = fontBox()->family();
    options.fontSize = sizeBox()->value();
    if (runReport(m_previewDialog, [&](TPagePrinter& printer, const ReportProgress& progress) {
            return medialistreport::print(printer, m_state.db, m_messages, options, progress);
        }))
        accept();
}

void TPrintTtListDialog::closing() {
    Settings& settings = m_state.settings;
    settings.fontNameList = fontBox()->family();
    settings.fontSizeList = qint16(sizeBox()->value());
}
