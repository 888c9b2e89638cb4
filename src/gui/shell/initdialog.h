#pragma once

#include "core/shell/startupsequence.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// The start-up dialog: product name, version, a growing "Initialisiere..." and progress.
class TInitDialog : public QDialog, public StartupUi {
    Q_OBJECT
public:
    explicit TInitDialog(QWidget* parent = nullptr);

    void setProgress(int percent) override;
    void pause(int milliseconds) override;
    void setVisible(bool visible) override { QDialog::setVisible(visible); }

private:
    QLabel* m_label;
    QProgressBar* m_progress;
};
