#include "printstatdialog.h"

#include "core/printing/statistics.h"
#include "core/printing/statisticsreport.h"
#include "core/shell/appstate.h"
#include "fontfamilybox.h"
#include "previewdialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QString captionFor(int kind) {
    const QString base = QStringLiteral("Statistik drucken");
    switch (kind) {
    case statistics::MediaTypes:
        return QStringLiteral("Tonträger-") + base;
    case statistics::Directions:
        return QStringLiteral("Musikrichtung-") + base;
    case statistics::States:
        return QStringLiteral("Status-") + base;
    default:
        return base;
    }
}

} // namespace

TPrintStatDialog::TPrintStatDialog(AppState& state, MessageService& messages,
                                   TPreviewDialog& preview, int kind, std::vector<QStringList> rows,
                                   QStringList totals, QWidget* parent)
    : ReportDialog(state, messages, captionFor(kind), 37002, parent), m_previewDialog(preview),
      m_kind(kind), m_rows(std::move(rows)), m_totals(std::move(totals)) {
    const Settings& settings = m_state.settings;
    QVBoxLayout* form = controlColumn();
    form->addLayout(fontRow(settings.fontNameStat, settings.fontSizeStat));
    form->addWidget(previewBox());
    form->addStretch(1);
    finishLayout();
}

void TPrintStatDialog::print() {
    statisticsreport::Options options;
    options.fontName = fontBox()->family();
    options.fontSize = sizeBox()->value();
    const std::vector<QStringList> groups(m_rows.empty() ? m_rows.begin() : m_rows.begin() + 1,
                                          m_rows.end());
    if (runReport(m_previewDialog, [&](TPagePrinter& printer, const ReportProgress& progress) {
            return statisticsreport::print(printer, m_kind, groups, m_totals, options, progress,
                                           [this](std::function<void(TPagePrinter&)> handler) {
                                               m_previewDialog.reportNewPage = std::move(handler);
                                           });
        }))
        accept();
}

void TPrintStatDialog::closing() {
    m_previewDialog.reportNewPage = nullptr;
    Settings& settings = m_state.settings;
    settings.fontNameStat = fontBox()->family();
    settings.fontSizeStat = qint16(sizeBox()->value());
}
