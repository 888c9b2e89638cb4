#include "lendingreportdialog.h"

#include "core/common/messageservice.h"
#include "core/printing/fontchoice.h"
#include "core/printing/reportrun.h"
#include "core/printing/reportsetup.h"
#include "core/printing/templatereport.h"
#include "core/printing/templatestore.h"
#include "core/shell/appstate.h"
#include "gui/printing/fontfamilybox.h"
#include "gui/printing/pageview.h"
#include "gui/printing/previewdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

LendingReportDialog::LendingReportDialog(const LendingContext& context, const QString& caption,
                                         int helpContext, int templateType, const QString& fontName,
                                         int fontSize, QWidget* parent)
    : QDialog(parent), m_context(context), m_type(templateType) {
    setWindowTitle(caption);
    setProperty("helpContext", helpContext);
    m_controls = new QWidget(this);
    auto* form = new QVBoxLayout(m_controls);
    form->setContentsMargins(0, 0, 0, 0);
    form->addWidget(new QLabel(QStringLiteral("Drucker:   ") + m_context.state.currentPrinter));
    auto* gridLabel = new QLabel(QStringLiteral("Druck&vorlagen"));
    m_grid = new QTableWidget(0, 1);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Druckvorlage")});
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setTabKeyNavigation(false);
    gridLabel->setBuddy(m_grid);
    m_templates = templatestore::byType(m_context.state.db, templateType);
    std::sort(m_templates.begin(), m_templates.end(),
              [](const auto& a, const auto& b) { return a.indexNummer < b.indexNummer; });
    m_grid->setRowCount(int(m_templates.size()));
    for (int row = 0; row < int(m_templates.size()); ++row)
        m_grid->setItem(row, 0, new QTableWidgetItem(m_templates[size_t(row)].bezeichnung));
    if (!m_templates.empty())
        m_grid->selectRow(0);
    form->addWidget(gridLabel);
    form->addWidget(m_grid);
    m_extra = new QVBoxLayout;
    form->addLayout(m_extra);

    auto* fontRow = new QHBoxLayout;
    auto* fontLabel = new QLabel(QStringLiteral("&Schriftart:"));
    m_font = new FontFamilyBox;
    m_font->setFamily(fontName);
    fontLabel->setBuddy(m_font);
    auto* sizeLabel = new QLabel(QStringLiteral("&Größe:"));
    m_size = new QSpinBox;
    m_size->setRange(fontchoice::kMinimumSize, fontchoice::kMaximumSize);
    m_size->setValue(fontchoice::validSize(fontSize, 11));
    sizeLabel->setBuddy(m_size);
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(m_font, 1);
    fontRow->addWidget(sizeLabel);
    fontRow->addWidget(m_size);
    form->addLayout(fontRow);
    m_preview = new QCheckBox(QStringLiteral("Druckvorscha&u"));
    m_preview->setChecked(m_context.state.settings.printPreview);
    form->addWidget(m_preview);

    m_parts = buildReportDialog(
        *this, m_controls, [this] { print(); },
        [this, helpContext] { m_context.showHelp(helpContext); });
    connect(m_parts.abort, &QPushButton::clicked, this, &LendingReportDialog::abortPressed);
}

PrintTemplateRecord LendingReportDialog::selectedTemplate() const {
    const int row = m_grid->currentRow();
    if (row < 0 || row >= int(m_templates.size()))
        return {};
    // Read again: the template may have been edited since the dialog opened.
    const PrintTemplateRecord& listed = m_templates[size_t(row)];
    return templatestore::load(m_context.state.db, m_type, qRound(listed.indexNummer))
        .value_or(listed);
}

void LendingReportDialog::abortPressed() {
    if (m_running)
        m_abortRequested = true;
    else
        reject();
}

void LendingReportDialog::print() {
    if (m_running || !m_context.preview)
        return;
    TPreviewDialog* preview = m_context.preview();
    if (!preview)
        return;
    m_printing = true;
    m_parts.showPrintingLayout(m_controls);
    TPagePrinter& printer = preview->PagePrinter();
    reportsetup::resetForReport(printer);
    m_running = true;
    m_abortRequested = false;
    ReportStatus status = ReportStatus::Failed;
    const ReportProgress progress{[this](int page) {
                                      m_parts.showPage(page);
                                      QApplication::processEvents();
                                  },
                                  [this] { return m_abortRequested; }};
    try {
        status = compose(printer, progress);
    } catch (const std::exception& e) {
        if (printer.Printing())
            printer.FinishDocument();
        m_context.messages.error(QString::fromUtf8(e.what()));
    }
    m_running = false;
    if (status != ReportStatus::Composed)
        return; // stays in the printing layout; "&Abbruch" closes it
    preview->pageView().ZoomToPageWidth();
    preview->ZoomTimer().start();
    if (m_preview->isChecked())
        preview->exec();
    else
        printer.PrintPages();
    accept();
}

void LendingReportDialog::done(int result) {
    if (m_running) { // closing the frame while printing stops the report first
        m_abortRequested = true;
        return;
    }
    storeFont(m_font->family(), m_size->value());
    m_context.state.settings.printPreview = m_preview->isChecked();
    QDialog::done(result);
}
