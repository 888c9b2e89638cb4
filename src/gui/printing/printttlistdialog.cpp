#include "printttlistdialog.h"

#include "core/common/messageservice.h"
#include "core/printing/fontchoice.h"
#include "core/printing/medialistreport.h"
#include "core/printing/reportsetup.h"
#include "core/printing/templatestore.h"
#include "core/shell/appstate.h"
#include "fontfamilybox.h"
#include "pageview.h"
#include "previewdialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kHelpContext = 34001;

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
    : QDialog(parent), m_state(state), m_messages(messages), m_previewDialog(preview) {
    build();
}

void TPrintTtListDialog::build() {
    setWindowTitle(QStringLiteral("Tonträgerliste drucken"));
    setProperty("helpContext", kHelpContext);
    const Settings& settings = m_state.settings;

    m_controls = new QWidget(this);
    auto* grid = new QGridLayout(m_controls);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Drucker:   ") + m_state.currentPrinter), 0, 0, 1, 2);

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
    auto* gridLabel = new QLabel(QStringLiteral("Druck&vorlagen"));
    m_grid = new QTableWidget(0, 1);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Druckvorlage")});
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setMaximumHeight(110);
    gridLabel->setBuddy(m_grid);
    m_templates = templatestore::byType(m_state.db, 1);
    std::sort(m_templates.begin(), m_templates.end(),
              [](const auto& a, const auto& b) { return a.indexNummer < b.indexNummer; });
    m_grid->setRowCount(int(m_templates.size()));
    for (int row = 0; row < int(m_templates.size()); ++row)
        m_grid->setItem(row, 0, new QTableWidgetItem(m_templates[size_t(row)].bezeichnung));
    if (!m_templates.empty())
        m_grid->selectRow(0);
    grid->addWidget(gridLabel, 4, 0, 1, 2);
    grid->addWidget(m_grid, 5, 0, 1, 2);

    auto* fontRow = new QHBoxLayout;
    auto* fontLabel = new QLabel(QStringLiteral("&Schriftart:"));
    m_font = new FontFamilyBox;
    m_font->setFamily(settings.fontNameList);
    fontLabel->setBuddy(m_font);
    auto* sizeLabel = new QLabel(QStringLiteral("&Größe:"));
    m_size = new QSpinBox;
    m_size->setRange(fontchoice::kMinimumSize, fontchoice::kMaximumSize);
    m_size->setValue(fontchoice::validSize(settings.fontSizeList, 11));
    sizeLabel->setBuddy(m_size);
    m_preview = new QCheckBox(QStringLiteral("Druckvorscha&u"));
    m_preview->setChecked(settings.printPreview);
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(m_font, 1);
    fontRow->addWidget(sizeLabel);
    fontRow->addWidget(m_size);
    fontRow->addWidget(m_preview);
    grid->addLayout(fontRow, 6, 0, 1, 2);

    m_parts = buildReportDialog(
        *this, m_controls, [this] { print(); },
        [this] {
            if (m_help)
                m_help(kHelpContext);
        });
    connect(m_parts.abort, &QPushButton::clicked, this, &TPrintTtListDialog::abortPressed);

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

PrintTemplateRecord TPrintTtListDialog::selectedTemplate() const {
    const int row = m_grid->currentRow();
    if (row < 0 || row >= int(m_templates.size()))
        return {};
    // Read again: the template may have been edited since the dialog opened.
    const PrintTemplateRecord& listed = m_templates[size_t(row)];
    return templatestore::load(m_state.db, 1, qRound(listed.indexNummer)).value_or(listed);
}

void TPrintTtListDialog::abortPressed() {
    if (m_running)
        m_abortRequested = true;
    else
        reject();
}

void TPrintTtListDialog::print() {
    if (m_running)
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
    options.fontName = m_font->family();
    options.fontSize = m_size->value();

    m_printing = true;
    m_parts.showPrintingLayout(m_controls);
    TPagePrinter& printer = m_previewDialog.PagePrinter();
    reportsetup::resetForReport(printer);
    ReportProgress progress{[this](int page) {
                                m_parts.showPage(page);
                                if (pageStarted)
                                    pageStarted(page);
                                QApplication::processEvents();
                            },
                            [this] {
                                QApplication::processEvents();
                                return m_abortRequested;
                            }};
    // Stays in the printing layout when nothing was delivered; "&Abbruch" closes it.
    if (m_previewDialog.composeAndDeliver(m_running, m_preview->isChecked(), m_messages, [&] {
            return medialistreport::print(printer, m_state.db, m_messages, options, progress);
        }))
        accept();
}

void TPrintTtListDialog::done(int result) {
    if (m_running) { // closing the frame while printing stops the report first
        m_abortRequested = true;
        return;
    }
    Settings& settings = m_state.settings;
    settings.fontNameList = m_font->family();
    settings.fontSizeList = qint16(m_size->value());
    settings.printPreview = m_preview->isChecked();
    QDialog::done(result);
}
