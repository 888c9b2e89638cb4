#include "reportdialog.h"

#include "core/common/messageservice.h"
#include "core/printing/fontchoice.h"
#include "core/printing/reportsetup.h"
#include "core/printing/templatereport.h"
#include "core/printing/templatestore.h"
#include "core/shell/appstate.h"
#include "fontfamilybox.h"
#include "previewdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

ReportDialog::ReportDialog(AppState& state, MessageService& messages, const QString& caption,
                           int helpContext, QWidget* parent)
    : QDialog(parent), m_state(state), m_messages(messages), m_helpContext(helpContext) {
    setWindowTitle(caption);
    setProperty("helpContext", helpContext);
    m_controls = new QWidget(this);
    // Without a parent until a dialog lays them out, so the tab order follows its layout.
    m_font = new FontFamilyBox;
    m_size = new QSpinBox;
    m_size->setRange(fontchoice::kMinimumSize, fontchoice::kMaximumSize);
    m_preview = new QCheckBox(QStringLiteral("Druckvorscha&u"));
    m_preview->setChecked(m_state.settings.printPreview);
}

QLabel* ReportDialog::printerLabel() const {
    return new QLabel(QStringLiteral("Drucker:   ") + m_state.currentPrinter);
}

QLabel* ReportDialog::createTemplateGrid(int type) {
    auto* label = new QLabel(QStringLiteral("Druck&vorlagen"));
    m_grid = new QTableWidget(0, 1);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Druckvorlage")});
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    label->setBuddy(m_grid);
    m_templateType = type;
    m_templates = templatestore::byType(m_state.db, type);
    std::sort(m_templates.begin(), m_templates.end(),
              [](const auto& a, const auto& b) { return a.indexNummer < b.indexNummer; });
    m_grid->setRowCount(int(m_templates.size()));
    for (int row = 0; row < int(m_templates.size()); ++row)
        m_grid->setItem(row, 0, new QTableWidgetItem(m_templates[size_t(row)].bezeichnung));
    if (!m_templates.empty())
        m_grid->selectRow(0);
    return label;
}

QVBoxLayout* ReportDialog::controlColumn(int templateType) {
    auto* column = new QVBoxLayout(m_controls);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(printerLabel());
    if (templateType > 0) {
        column->addWidget(createTemplateGrid(templateType));
        column->addWidget(m_grid);
    }
    return column;
}

QHBoxLayout* ReportDialog::fontRow(const QString& family, int storedSize) {
    auto* row = new QHBoxLayout;
    auto* fontLabel = new QLabel(QStringLiteral("&Schriftart:"));
    m_font->setFamily(family);
    fontLabel->setBuddy(m_font);
    auto* sizeLabel = new QLabel(QStringLiteral("&Größe:"));
    m_size->setValue(fontchoice::validSize(storedSize, 11));
    sizeLabel->setBuddy(m_size);
    row->addWidget(fontLabel);
    row->addWidget(m_font, 1);
    row->addWidget(sizeLabel);
    row->addWidget(m_size);
    return row;
}

void ReportDialog::finishLayout() {
    m_buttons = new QDialogButtonBox(Qt::Vertical);
    auto* printButton =
        m_buttons->addButton(QStringLiteral("&Drucken"), QDialogButtonBox::AcceptRole);
    printButton->setObjectName(QStringLiteral("PrintButton"));
    printButton->setDefault(true);
    m_buttons->addButton(QStringLiteral("&Abbruch"), QDialogButtonBox::RejectRole);
    m_buttons->addButton(QDialogButtonBox::Help)->setText(QStringLiteral("&Hilfe"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] { print(); });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_buttons, &QDialogButtonBox::helpRequested, this, [this] {
        if (m_help)
            m_help(m_helpContext);
    });

    m_abort = new QPushButton(QStringLiteral("&Abbruch"), this);
    m_abort->setObjectName(QStringLiteral("AbortButton"));
    m_abort->hide();
    connect(m_abort, &QPushButton::clicked, this, &ReportDialog::abortPressed);
    m_pageLabel = new QLabel(this);
    m_pageLabel->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(m_controls, 1);
    top->addWidget(m_buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    auto* printingRow = new QHBoxLayout;
    printingRow->addWidget(m_pageLabel, 1);
    printingRow->addWidget(m_abort);
    layout->addLayout(printingRow);
}

PrintTemplateRecord ReportDialog::selectedTemplate() const {
    const int row = m_grid ? m_grid->currentRow() : -1;
    if (row < 0 || row >= int(m_templates.size()))
        return {};
    const PrintTemplateRecord& listed = m_templates[size_t(row)];
    return templatestore::load(m_state.db, m_templateType, qRound(listed.indexNummer))
        .value_or(listed);
}

void ReportDialog::showPage(int page) const {
    m_pageLabel->setText(QStringLiteral("Drucken der Seite: ") +
                         (page > 0 ? QString::number(page) : QString()));
}

bool ReportDialog::runReport(TPreviewDialog& preview, const Composer& compose) {
    if (m_running)
        return false;
    m_printing = true;
    m_controls->hide();
    m_buttons->hide();
    showPage(0);
    m_pageLabel->show();
    m_abort->show();
    m_abort->setDefault(true);

    TPagePrinter& printer = preview.PagePrinter();
    reportsetup::resetForReport(printer);
    m_abortRequested = false;
    // Events are handled at every page start and every abort test, so that "&Abbruch" and
    // closing the frame reach a running report.
    const ReportProgress progress{[this](int page) {
                                      showPage(page);
                                      if (pageStarted)
                                          pageStarted(page);
                                      QApplication::processEvents();
                                  },
                                  [this] {
                                      QApplication::processEvents();
                                      return m_abortRequested;
                                  }};
    return preview.composeAndDeliver(m_running, m_preview->isChecked(), m_messages,
                                     [&] { return compose(printer, progress); });
}

void ReportDialog::abortPressed() {
    if (m_running)
        m_abortRequested = true;
    else
        reject();
}

void ReportDialog::done(int result) {
    if (m_running) { // closing the frame while printing stops the report first
        m_abortRequested = true;
        return;
    }
    m_state.settings.printPreview = m_preview->isChecked();
    closing();
    QDialog::done(result);
}
