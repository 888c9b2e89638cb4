#include "printttdialog.h"

#include "core/printing/carrierreport.h"
#include "core/shell/appstate.h"
#include "fontfamilybox.h"
#include "previewdialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TPrintTtDialog::TPrintTtDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                               int carrierNumber, QWidget* parent)
    : TPrintTtDialog(state, messages, preview, carrierNumber, QStringLiteral("Tonträger drucken"),
                     34002, parent) {}

TPrintTtDialog::TPrintTtDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                               int carrierNumber, const QString& caption, int helpContext,
                               QWidget* parent)
    : ReportDialog(state, messages, caption, helpContext, parent), m_previewDialog(preview),
      m_carrierNumber(carrierNumber) {
    const Settings& settings = m_state.settings;
    QVBoxLayout* form = controlColumn(2);
    form->addLayout(fontRow(settings.fontNameRecords, settings.fontSizeRecords));
    m_options = new QVBoxLayout;
    m_additional = new QCheckBox(QStringLiteral("&Zusatztexte drucken"));
    m_additional->setToolTip(QStringLiteral("Sollen die Zusatztexte mit ausgedruckt werden?"));
    m_additional->setChecked(settings.printAdditionalText);
    m_options->addWidget(m_additional);
    m_options->addWidget(previewBox());
    form->addLayout(m_options);
    finishLayout();
}

void TPrintTtDialog::addOption(QCheckBox* box) {
    m_options->insertWidget(m_options->count() - 1, box);
}

carrierreport::Options TPrintTtDialog::options() const {
    carrierreport::Options options;
    options.templ = selectedTemplate();
    options.fontName = fontBox()->family();
    options.fontSize = sizeBox()->value();
    options.additionalText = m_additional->isChecked();
    return options;
}

ReportStatus TPrintTtDialog::compose(TPagePrinter& printer, const ReportProgress& progress) {
    return carrierreport::printCarrier(printer, m_state.db, m_messages, options(), m_carrierNumber,
                                       progress);
}

void TPrintTtDialog::print() {
    if (runReport(m_previewDialog, [this](TPagePrinter& printer, const ReportProgress& progress) {
            return compose(printer, progress);
        }))
        accept();
}

void TPrintTtDialog::closing() {
    Settings& settings = m_state.settings;
    settings.fontNameRecords = fontBox()->family();
    settings.fontSizeRecords = qint16(sizeBox()->value());
    settings.printAdditionalText = m_additional->isChecked();
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

ReportStatus TPrintAllTtDialog::compose(TPagePrinter& printer, const ReportProgress& progress) {
    carrierreport::Options all = options();
    all.pageFeed = m_pageFeed->isChecked();
    return carrierreport::printAll(printer, m_state.db, m_messages, all, progress);
}
