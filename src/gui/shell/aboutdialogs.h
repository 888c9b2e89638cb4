#pragma once

#include <QDialog>

class QLabel;
class QTimer;

// "Über Diskarium V 1.4": product name, version, build date and the program icon.
void showAboutBox(QWidget* parent);

// The credits box: "Version: 1.5.0" and a slowly scrolling list of credits. Escape or
// Enter closes it.
class TCreditsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TCreditsDialog(QWidget* parent = nullptr);

private:
    QLabel* m_credits;
    QWidget* m_viewport;
    int m_offset = 0;
};
