#include "tprintmahndialog.h"

#include "core/lending/reminderreport.h"
#include "core/shell/appstate.h"
#include "gui/printing/fontfamilybox.h"

#include <QSpinBox>

TPrintMahnDialog::TPrintMahnDialog(const LendingContext& context, int carrierNumber,
                                   qint32 lendingNumber, QWidget* parent)
    : LendingReportDialog(context, QStringLiteral("Mahnungen drucken"), 36010, 3,
                          context.state.settings.fontNameMahn, context.state.settings.fontSizeMahn,
                          parent),
      m_carrier(carrierNumber), m_number(lendingNumber) {}

ReportStatus TPrintMahnDialog::compose(TPagePrinter& printer, const ReportProgress& progress) {
    reminderreport::Options options;
    options.templ = selectedTemplate();
    options.fontName = fontBox()->family();
    options.fontSize = sizeBox()->value();
    return reminderreport::print(printer, m_context.state.db, m_context.messages, options,
                                 m_carrier, m_number, progress);
}

void TPrintMahnDialog::storeFont(const QString& family, int size) {
    m_context.state.settings.fontNameMahn = family;
    m_context.state.settings.fontSizeMahn = qint16(size);
}
