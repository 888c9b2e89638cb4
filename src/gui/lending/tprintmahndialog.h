#pragma once

#include "lendingreportdialog.h"

// "Mahnungen drucken": the reminder letter for one open lending.
class TPrintMahnDialog : public LendingReportDialog {
    Q_OBJECT
public:
    // The lending is named by its carrier and number: lendings of the same two seconds share
    // a number.
    TPrintMahnDialog(const LendingContext& context, int carrierNumber, qint32 lendingNumber,
                     QWidget* parent = nullptr);

protected:
    ReportStatus compose(TPagePrinter& printer, const ReportProgress& progress) override;
    void storeFont(const QString& family, int size) override;

private:
    int m_carrier;
    qint32 m_number;
};
