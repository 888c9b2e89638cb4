#include "printstatdialog.h"

#include "core/common/messageservice.h"
#include "core/printing/fontchoice.h"
#include "core/printing/reportsetup.h"
#include "core/printing/statistics.h"
#include "core/printing/statisticsreport.h"
#include "core/shell/appstate.h"
#include "fontfamilybox.h"
#include "pageview.h"
#include "previewdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kHelpContext = 37002;

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
    : QDialog(parent), m_state(state), m_messages(messages), m_previewDialog(preview), m_kind(kind),
      m_rows(std::move(rows)), m_totals(std::move(totals)) {
    setWindowTitle(captionFor(kind));
    setProperty("helpContext", kHelpContext);
    const Settings& settings = m_state.settings;

    m_controls = new QWidget(this);
    auto* form = new QVBoxLayout(m_controls);
    form->setContentsMargins(0, 0, 0, 0);
    form->addWidget(new QLabel(QStringLiteral("Drucker:   ") + m_state.currentPrinter));
    auto* fontRow = new QHBoxLayout;
    auto* fontLabel = new QLabel(QStringLiteral("&Schriftart:"));
    m_font = new FontFamilyBox;
    m_font->setFamily(settings.fontNameStat);
    fontLabel->setBuddy(m_font);
    auto* sizeLabel = new QLabel(QStringLiteral("&Größe:"));
    m_size = new QSpinBox;
    m_size->setRange(fontchoice::kMinimumSize, fontchoice::kMaximumSize);
    m_size->setValue(fontchoice::validSize(settings.fontSizeStat, 11));
    sizeLabel->setBuddy(m_size);
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(m_font, 1);
    fontRow->addWidget(sizeLabel);
    fontRow->addWidget(m_size);
    form->addLayout(fontRow);
    m_preview = new QCheckBox(QStringLiteral("Druckvorscha&u"));
    m_preview->setChecked(settings.printPreview);
    form->addWidget(m_preview);
    form->addStretch(1);

    m_parts = buildReportDialog(
        *this, m_controls, [this] { print(); },
        [this] {
            if (m_help)
                m_help(kHelpContext);
        });
    connect(m_parts.abort, &QPushButton::clicked, this, &TPrintStatDialog::abortPressed);
}

void TPrintStatDialog::abortPressed() {
    if (m_running)
        m_abortRequested = true;
    else
        reject();
}

void TPrintStatDialog::print() {
    if (m_running)
        return;
    m_printing = true;
    m_parts.showPrintingLayout(m_controls);
    TPagePrinter& printer = m_previewDialog.PagePrinter();
    reportsetup::resetForReport(printer);
    statisticsreport::Options options;
    options.fontName = m_font->family();
    options.fontSize = m_size->value();
    ReportProgress progress{[this](int page) {
                                m_parts.showPage(page);
                                if (rowPrinted)
                                    rowPrinted(page);
                                QApplication::processEvents();
                            },
                            [this] { return m_abortRequested; }};
    const std::vector<QStringList> groups(m_rows.empty() ? m_rows.begin() : m_rows.begin() + 1,
                                          m_rows.end());
    // Stays in the printing layout when nothing was delivered; "&Abbruch" closes it.
    if (m_previewDialog.composeAndDeliver(m_running, m_preview->isChecked(), m_messages, [&] {
            return statisticsreport::print(printer, m_kind, groups, m_totals, options, progress,
                                           [this](std::function<void(TPagePrinter&)> handler) {
                                               m_previewDialog.reportNewPage = std::move(handler);
                                           });
        }))
        accept();
}

void TPrintStatDialog::done(int result) {
    if (m_running) { // closing the frame while printing stops the report first
        m_abortRequested = true;
        return;
    }
    m_previewDialog.reportNewPage = nullptr;
    Settings& settings = m_state.settings;
    settings.fontNameStat = m_font->family();
    settings.fontSizeStat = qint16(m_size->value());
    settings.printPreview = m_preview->isChecked();
    QDialog::done(result);
}
