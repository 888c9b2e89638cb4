#include "tprintlendlistdialog.h"

#include "core/lending/lendinglistreport.h"
#include "core/shell/appstate.h"
#include "gui/printing/fontfamilybox.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TPrintLendListDialog::TPrintLendListDialog(const LendingContext& context, int borrower,
                                           QWidget* parent)
    : LendingReportDialog(context, QStringLiteral("Verleihverwaltung drucken"), 36009, 4,
                          context.state.settings.fontNameLend, context.state.settings.fontSizeLend,
                          parent),
      m_borrower(borrower) {
    auto* group = new QGroupBox(QStringLiteral("Druckeinträge &wählen"));
    auto* box = new QVBoxLayout(group);
    m_all = new QRadioButton(QStringLiteral("A&lle Einträge"));
    m_open = new QRadioButton(QStringLiteral("Aktuell &verliehe Einträge"));
    m_returned = new QRadioButton(QStringLiteral("&Zurückerhaltene Einträge"));
    m_all->setChecked(true);
    box->addWidget(m_all);
    box->addWidget(m_open);
    box->addWidget(m_returned);
    extraControls()->addWidget(group);
}

ReportStatus TPrintLendListDialog::compose(TPagePrinter& printer, const ReportProgress& progress) {
    lendinglistreport::Options options;
    options.templ = selectedTemplate();
    options.fontName = fontBox()->family();
    options.fontSize = sizeBox()->value();
    options.selection = m_open->isChecked()       ? lendingqueries::Selection::Open
                        : m_returned->isChecked() ? lendingqueries::Selection::Returned
                                                  : lendingqueries::Selection::All;
    return lendinglistreport::print(printer, m_context.state.db, m_context.messages, options,
                                    m_borrower, progress);
}

void TPrintLendListDialog::storeFont(const QString& family, int size) {
    m_context.state.settings.fontNameLend = family;
    m_context.state.settings.fontSizeLend = size;
}
