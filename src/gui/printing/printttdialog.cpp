#include "printttdialog.h"

#include "core/common/messageservice.h"
#include "core/printing/carrierreport.h"
#include "core/printing/fontchoice.h"
#include "core/printing/reportsetup.h"
#include "core/printing/templatestore.h"
#include "core/shell/appstate.h"
#include "fontfamilybox.h"
#include "pageview.h"
#include "previewdialog.h"
#include "reportdialoglayout.h"

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

TPrintTtDialog::TPrintTtDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                               int carrierNumber, QWidget* parent)
    : TPrintTtDialog(state, messages, preview, carrierNumber, QStringLiteral("Tonträger drucken"),
                     34002, parent) {}

TPrintTtDialog::TPrintTtDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                               int carrierNumber, const QString& caption, int helpContext,
                               QWidget* parent)
    : QDialog(parent), m_state(state), m_messages(messages), m_previewDialog(preview),
      m_carrierNumber(carrierNumber) {
    build(caption, helpContext);
}

void TPrintTtDialog::build(const QString& caption, int helpContext) {
    setWindowTitle(caption);
    setProperty("helpContext", helpContext);
    const Settings& settings = m_state.settings;

    m_controls = new QWidget(this);
    auto* form = new QVBoxLayout(m_controls);
    form->setContentsMargins(0, 0, 0, 0);
    form->addWidget(new QLabel(QStringLiteral("Drucker:   ") + m_state.currentPrinter));
    auto* gridLabel = new QLabel(QStringLiteral("Druck&vorlagen"));
    m_grid = new QTableWidget(0, 1);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Druckvorlage")});
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    gridLabel->setBuddy(m_grid);
    // The grid lists by "Index-Nummer"; the first is selected.
    m_templates = templatestore::byType(m_state.db, 2);
    std::sort(m_templates.begin(), m_templates.end(),
              [](const auto& a, const auto& b) { return a.indexNummer < b.indexNummer; });
    m_grid->setRowCount(int(m_templates.size()));
    for (int row = 0; row < int(m_templates.size()); ++row)
        m_grid->setItem(row, 0, new QTableWidgetItem(m_templates[size_t(row)].bezeichnung));
    if (!m_templates.empty())
        m_grid->selectRow(0);
    form->addWidget(gridLabel);
    form->addWidget(m_grid);

    auto* fontRow = new QHBoxLayout;
    auto* fontLabel = new QLabel(QStringLiteral("&Schriftart:"));
    m_font = new FontFamilyBox;
    m_font->setFamily(settings.fontNameRecords);
    fontLabel->setBuddy(m_font);
    auto* sizeLabel = new QLabel(QStringLiteral("&Größe:"));
    m_size = new QSpinBox;
    m_size->setRange(fontchoice::kMinimumSize, fontchoice::kMaximumSize);
    m_size->setValue(fontchoice::validSize(settings.fontSizeRecords, 11));
    sizeLabel->setBuddy(m_size);
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(m_font, 1);
    fontRow->addWidget(sizeLabel);
    fontRow->addWidget(m_size);
    form->addLayout(fontRow);

    m_options = new QVBoxLayout;
    m_additional = new QCheckBox(QStringLiteral("&Zusatztexte drucken"));
    m_additional->setToolTip(QStringLiteral("Sollen die Zusatztexte mit ausgedruckt werden?"));
    m_additional->setChecked(settings.printAdditionalText);
    m_preview = new QCheckBox(QStringLiteral("Druckvorscha&u"));
    m_preview->setChecked(settings.printPreview);
    m_options->addWidget(m_additional);
    m_options->addWidget(m_preview);
    form->addLayout(m_options);

    m_parts = buildReportDialog(
        *this, m_controls, [this] { print(); },
        [this, helpContext] {
            if (m_help)
                m_help(helpContext);
        });
    m_abort = m_parts.abort;
    connect(m_abort, &QPushButton::clicked, this, &TPrintTtDialog::abortPressed);
}

void TPrintTtDialog::addOption(QCheckBox* box) {
    m_options->insertWidget(m_options->count() - 1, box);
}

PrintTemplateRecord TPrintTtDialog::selectedTemplate() const {
    const int row = m_grid->currentRow();
    if (row < 0 || row >= int(m_templates.size()))
        return {};
    // Read again: the template may have been edited since the dialog opened.
    const PrintTemplateRecord& listed = m_templates[size_t(row)];
    return templatestore::load(m_state.db, 2, qRound(listed.indexNummer)).value_or(listed);
}

void TPrintTtDialog::setPrintingLayout() {
    m_printing = true;
    m_parts.showPrintingLayout(m_controls);
}

void TPrintTtDialog::pageStarted(int page) {
    m_parts.showPage(page);
    QApplication::processEvents();
}

void TPrintTtDialog::abortPressed() {
    if (m_running)
        m_abortRequested = true;
    else
        reject();
}

ReportStatus TPrintTtDialog::compose() {
    carrierreport::Options options;
    options.templ = selectedTemplate();
    options.fontName = m_font->family();
    options.fontSize = m_size->value();
    options.additionalText = m_additional->isChecked();
    ReportProgress progress{[this](int page) { pageStarted(page); },
                            [this] { return m_abortRequested; }};
    return carrierreport::printCarrier(m_previewDialog.PagePrinter(), m_state.db, m_messages,
                                       options, m_carrierNumber, progress);
}

void TPrintTtDialog::print() {
    if (m_running)
        return;
    setPrintingLayout();
    TPagePrinter& printer = m_previewDialog.PagePrinter();
    reportsetup::resetForReport(printer);
    // Stays in the printing layout when nothing was delivered; "&Abbruch" closes it.
    if (m_previewDialog.composeAndDeliver(m_running, m_preview->isChecked(), m_messages,
                                          [&] { return compose(); }))
        accept();
}

void TPrintTtDialog::done(int result) {
    if (m_running) { // closing the frame while printing stops the report first
        m_abortRequested = true;
        return;
    }
    Settings& settings = m_state.settings;
    settings.fontNameRecords = m_font->family();
    settings.fontSizeRecords = qint16(m_size->value());
    settings.printPreview = m_preview->isChecked();
    settings.printAdditionalText = m_additional->isChecked();
    QDialog::done(result);
}

TPrintAllTtDialog::TPrintAllTtDialog(AppState& state, MessageService& messages,
                                     TPreviewDialog& preview, QWidget* parent)
    : TPrintTtDialog(state, messages, preview, 0, QStringLiteral("Alle Tonträger drucken"), 34000,
                     parent) {
    m_pageFeed = new QCheckBox(QStringLiteral("Seitenvorschub nach &jedem Tonträger"));
    m_pageFeed->setToolTip(
        QStringLiteral("Soll nach jedem Tonträger ein Seitenvorschub ausgeführt werden?"));
    m_pageFeed->setChecked(true);
    addOption(m_pageFeed);
    if (auto* button = findChild<QPushButton*>(QStringLiteral("PrintButton")))
        button->setToolTip(
            QStringLiteral("Mit dem Drucken-Button wird der Druckvorgang gestartet."));
}

ReportStatus TPrintAllTtDialog::compose() {
    carrierreport::Options options;
    options.templ = selectedTemplate();
    options.fontName = fontBox()->family();
    options.fontSize = sizeBox()->value();
    options.additionalText = additionalTextBox()->isChecked();
    options.pageFeed = m_pageFeed->isChecked();
    ReportProgress progress{[this](int page) { pageStarted(page); },
                            [this] { return abortRequested(); }};
    return carrierreport::printAll(m_previewDialog.PagePrinter(), m_state.db, m_messages, options,
                                   progress);
}
