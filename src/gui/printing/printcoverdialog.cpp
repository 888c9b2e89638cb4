#include "printcoverdialog.h"

#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookupstore.h"
#include "core/printing/coverreport.h"
#include "core/shell/appstate.h"
#include "fontfamilybox.h"
#include "previewdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>

TPrintCoverDialog::TPrintCoverDialog(AppState& state, MessageService& messages,
                                     TPreviewDialog& preview, int carrierNumber, QWidget* parent)
    : ReportDialog(state, messages, QStringLiteral("Hüllen drucken"), 34004, parent),
      m_previewDialog(preview), m_carrierNumber(carrierNumber) {
    auto* form = new QFormLayout(controls());
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(printerLabel());
    m_types = new QComboBox;
    m_typeRows = LookupStore(m_state.db, lookup::kMediaTypes).listByKey();
    for (const LookupRecord& row : m_typeRows)
        m_types->addItem(row.kurzbezeichnung);
    form->addRow(QStringLiteral("Hüllen&typ:"), m_types);
    form->addRow(QStringLiteral("&Schriftart:"), fontBox());
    form->addRow(QStringLiteral("&Größe:"), sizeBox());
    m_before = new QSpinBox;
    m_before->setRange(0, coverreport::kMaxEmptyLines);
    form->addRow(QStringLiteral("&Leerzeilen vor:"), m_before);
    m_after = new QSpinBox;
    m_after->setRange(0, coverreport::kMaxEmptyLines);
    form->addRow(QStringLiteral("Leer&zeilen nach:"), m_after);
    form->addRow(previewBox());
    finishLayout();
    setFixedSize(sizeHint());

    // The carrier's own media type; a type without cover settings gives the defaults.
    const int type = coverreport::carrierMediaType(m_state.db, carrierNumber).value_or(0);
    int index = -1;
    for (int i = 0; i < int(m_typeRows.size()); ++i)
        if (qRound(m_typeRows[size_t(i)].indexNummer) == type)
            index = i;
    showLayout(type);
    m_types->setCurrentIndex(index);
    connect(m_types, &QComboBox::currentIndexChanged, this, &TPrintCoverDialog::typeChosen);
}

void TPrintCoverDialog::typeChosen(int index) {
    if (index >= 0 && index < int(m_typeRows.size()))
        showLayout(qRound(m_typeRows[size_t(index)].indexNummer));
}

void TPrintCoverDialog::showLayout(int mediaType) {
    const coverreport::Layout l = coverreport::layoutFor(m_state.db, mediaType);
    fontBox()->setFamily(l.fontName);
    sizeBox()->setValue(l.fontSize);
    m_before->setValue(l.linesBefore);
    m_after->setValue(l.linesAfter);
}

void TPrintCoverDialog::print() {
    if (running())
        return;
    coverreport::Layout layout;
    layout.fontName = fontBox()->family();
    layout.fontSize = sizeBox()->value();
    layout.linesBefore = m_before->value();
    layout.linesAfter = m_after->value();
    runReport(m_previewDialog, [&](TPagePrinter& printer, const ReportProgress& progress) {
        return coverreport::printCover(printer, m_state.db, m_messages, layout, m_carrierNumber,
                                       progress);
    });
    accept(); // an abort stops and closes as well
}

void TPrintCoverDialog::closing() {
    m_previewDialog.reportNewPage = nullptr;
}
