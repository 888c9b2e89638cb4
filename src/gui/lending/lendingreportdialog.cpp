#include "lendingreportdialog.h"

#include "gui/printing/fontfamilybox.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

LendingReportDialog::LendingReportDialog(const LendingContext& context, const QString& caption,
                                         int helpContext, int templateType, const QString& fontName,
                                         int fontSize, QWidget* parent)
    : ReportDialog(context.state, context.messages, caption, helpContext, parent),
      m_context(context) {
    setHelpHandler([&context](int help) { context.showHelp(help); });
    QVBoxLayout* form = controlColumn(templateType);
    templateGrid()->setTabKeyNavigation(false);
    m_extra = new QVBoxLayout;
    form->addLayout(m_extra);
    form->addLayout(fontRow(fontName, fontSize));
    form->addWidget(previewBox());
    finishLayout();
}

void LendingReportDialog::print() {
    if (running() || !m_context.preview)
        return;
    TPreviewDialog* preview = m_context.preview();
    if (!preview)
        return;
    if (runReport(*preview, [this](TPagePrinter& printer, const ReportProgress& progress) {
            return compose(printer, progress);
        }))
        accept();
}

void LendingReportDialog::closing() {
    storeFont(fontBox()->family(), sizeBox()->value());
}
