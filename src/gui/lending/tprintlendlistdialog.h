#pragma once

#include "lendingreportdialog.h"

class QRadioButton;

// "Verleihverwaltung drucken": the lending list of one borrower or of all (-1), with all,
// the open or the returned entries.
class TPrintLendListDialog : public LendingReportDialog {
    Q_OBJECT
public:
    TPrintLendListDialog(const LendingContext& context, int borrower, QWidget* parent = nullptr);

    QRadioButton* allButton() const { return m_all; }
    QRadioButton* openButton() const { return m_open; }
    QRadioButton* returnedButton() const { return m_returned; }

protected:
    ReportStatus compose(TPagePrinter& printer, const ReportProgress& progress) override;
    void storeFont(const QString& family, int size) override;

private:
    int m_borrower;
    QRadioButton* m_all = nullptr;
    QRadioButton* m_open = nullptr;
    QRadioButton* m_returned = nullptr;
};
