#include "printhelpdbdialog.h"

#include "core/common/messageservice.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookuplist.h"
#include "core/printing/templatereport.h"
#include "core/settings/settings.h"
#include "core/shell/appstate.h"
#include "gui/printing/fontfamilybox.h"
#include "gui/printing/previewdialog.h"
#include "lookupcommands.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QVBoxLayout>

TPrintHelpDBDialog::TPrintHelpDBDialog(LookupCommands& commands, int kind, QWidget* parent)
    : ReportDialog(commands.state(), commands.messages(), lookup::kindInfo(kind).printCaption,
                   40512, parent),
      m_kind(kind) {
    setHelpHandler([&commands](int context) { commands.showHelp(context); });
    const Settings& settings = m_state.settings;
    QVBoxLayout* form = controlColumn();
    form->addLayout(fontRow(settings.fontName, settings.fontSize));
    form->addWidget(previewBox());
    form->addStretch(1);
    finishLayout();
}

void TPrintHelpDBDialog::print() {
    TPreviewDialog* preview = TPreviewDialog::instance();
    if (!preview)
        return;
    if (runReport(*preview, [this](TPagePrinter& printer, const ReportProgress& progress) {
            const lookuplist::Outcome outcome =
                lookuplist::compose(printer, m_state.db, m_kind, fontBox()->family(),
                                    sizeBox()->value(), [&progress](int page) {
                                        progress.pageStarted(page);
                                        return !progress.abortRequested();
                                    });
            // After an abort nothing is shown or printed; the dialog waits to be closed.
            return outcome == lookuplist::Outcome::Completed ? ReportStatus::Composed
                                                             : ReportStatus::Failed;
        }))
        accept();
}

void TPrintHelpDBDialog::closing() {
    Settings& settings = m_state.settings;
    settings.fontName = fontBox()->family();
    settings.fontSize = qint16(sizeBox()->value());
    QString error;
    if (!settingsfile::write(m_state.settingsPath(), settings, &error))
        m_messages.error(error);
}

TPrintCurrencyDialog::TPrintCurrencyDialog(LookupCommands& commands, QWidget* parent)
    : TPrintHelpDBDialog(commands, lookup::kCurrencies, parent) {}
