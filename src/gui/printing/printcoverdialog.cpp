#include "printcoverdialog.h"

#include "core/common/messageservice.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookupstore.h"
#include "core/printing/coverreport.h"
#include "core/printing/fontchoice.h"
#include "core/printing/reportsetup.h"
#include "core/shell/appstate.h"
#include "fontfamilybox.h"
#include "pageview.h"
#include "previewdialog.h"
#include "reportdialoglayout.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TPrintCoverDialog::TPrintCoverDialog(AppState& state, MessageService& messages,
                                     TPreviewDialog& preview, int carrierNumber, QWidget* parent)
    : QDialog(parent), m_state(state), m_messages(messages), m_previewDialog(preview),
      m_carrierNumber(carrierNumber) {
    setWindowTitle(QStringLiteral("Hüllen drucken"));
    setProperty("helpContext", 34004);

    m_controls = new QWidget(this);
    auto* form = new QFormLayout(m_controls);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(new QLabel(QStringLiteral("Drucker:   ") + m_state.currentPrinter));
    m_types = new QComboBox;
    m_typeRows = LookupStore(m_state.db, lookup::kMediaTypes).listByKey();
    for (const LookupRecord& row : m_typeRows)
        m_types->addItem(row.kurzbezeichnung);
    form->addRow(QStringLiteral("Hüllen&typ:"), m_types);
    m_font = new FontFamilyBox;
    form->addRow(QStringLiteral("&Schriftart:"), m_font);
    m_size = new QSpinBox;
    m_size->setRange(fontchoice::kMinimumSize, fontchoice::kMaximumSize);
    form->addRow(QStringLiteral("&Größe:"), m_size);
    m_before = new QSpinBox;
    m_before->setRange(0, coverreport::kMaxEmptyLines);
    form->addRow(QStringLiteral("&Leerzeilen vor:"), m_before);
    m_after = new QSpinBox;
    m_after->setRange(0, coverreport::kMaxEmptyLines);
    form->addRow(QStringLiteral("Leer&zeilen nach:"), m_after);
    m_preview = new QCheckBox(QStringLiteral("Druckvorscha&u"));
    m_preview->setChecked(m_state.settings.printPreview);
    form->addRow(m_preview);

    m_parts = buildReportDialog(
        *this, m_controls, [this] { print(); },
        [this] {
            if (m_help)
                m_help(34004);
        });
    connect(m_parts.abort, &QPushButton::clicked, this, [this] {
        if (m_running)
            m_abortRequested = true;
        else
            reject();
    });
    setFixedSize(sizeHint());

    // The carrier's own media type; a type without cover settings gives the defaults.
    const int type = coverreport::carrierMediaType(m_state.db, carrierNumber).value_or(0);
    int index = -1;
    for (int i = 0; i < int(m_typeRows.size()); ++i)
        if (qRound(m_typeRows[size_t(i)].indexNummer) == type)
            index = i;
    const coverreport::Layout layoutValues = coverreport::layoutFor(m_state.db, type);
    m_font->setFamily(layoutValues.fontName);
    m_size->setValue(layoutValues.fontSize);
    m_before->setValue(layoutValues.linesBefore);
    m_after->setValue(layoutValues.linesAfter);
    m_types->setCurrentIndex(index);
    connect(m_types, &QComboBox::currentIndexChanged, this, &TPrintCoverDialog::typeChosen);
}

void TPrintCoverDialog::typeChosen(int index) {
    if (index < 0 || index >= int(m_typeRows.size()))
        return;
    const coverreport::Layout l =
        coverreport::layoutFor(m_state.db, qRound(m_typeRows[size_t(index)].indexNummer));
    m_font->setFamily(l.fontName);
    m_size->setValue(l.fontSize);
    m_before->setValue(l.linesBefore);
    m_after->setValue(l.linesAfter);
}

void TPrintCoverDialog::print() {
    if (m_running)
        return;
    m_printing = true;
    m_parts.showPrintingLayout(m_controls);

    TPagePrinter& printer = m_previewDialog.PagePrinter();
    reportsetup::resetForReport(printer);
    coverreport::Layout layout;
    layout.fontName = m_font->family();
    layout.fontSize = m_size->value();
    layout.linesBefore = m_before->value();
    layout.linesAfter = m_after->value();
    ReportProgress progress{[this](int page) { m_parts.showPage(page); },
                            [this] {
                                QApplication::processEvents();
                                return m_abortRequested;
                            }};
    m_running = true;
    ReportStatus status = ReportStatus::Failed;
    try {
        status = coverreport::printCover(printer, m_state.db, m_messages, layout, m_carrierNumber,
                                         progress);
    } catch (const std::exception& e) {
        if (printer.Printing())
            printer.FinishDocument();
        m_messages.error(QString::fromUtf8(e.what()));
    }
    m_running = false;
    if (status == ReportStatus::Composed) {
        m_previewDialog.pageView().ZoomToPageWidth();
        m_previewDialog.ZoomTimer().start();
        if (m_preview->isChecked())
            m_previewDialog.exec();
        else
            printer.PrintPages();
    }
    accept(); // an abort stops and closes as well
}

void TPrintCoverDialog::done(int result) {
    if (m_running) {
        m_abortRequested = true;
        return;
    }
    m_previewDialog.reportNewPage = nullptr;
    m_state.settings.printPreview = m_preview->isChecked();
    QDialog::done(result);
}
