#pragma once

#include "core/printing/printerdevice.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// "Druckfortschritt": status, page label, progress bar and the cancel button while
// pages go to the printer.
class TPPPrnPrgDlg : public QDialog, public PrintProgress {
    Q_OBJECT
public:
    explicit TPPPrnPrgDlg(QWidget* parent = nullptr);

    void start(const QString& caption, const QString& status, int steps, bool cancelButton) override;
    void step(const QString& pageLabel) override;
    void finish() override;
    void processEvents() override;
    bool cancelRequested() const override { return m_cancelled; }

    QString pageLabel() const;
    QString statusLabel() const;
    int value() const;

private:
    QLabel* m_status;
    QLabel* m_page;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    bool m_cancelled = false;
};
