#pragma once

#include <functional>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QWidget;

// What every report dialog shares: "&Drucken", "&Abbruch" and "&Hilfe" beside its controls,
// and below them the page display and the abort button of the printing layout, hidden
// until printing starts.
struct ReportDialogParts {
    QDialogButtonBox* buttons = nullptr;
    QPushButton* abort = nullptr;
    QLabel* pageLabel = nullptr;

    // Hides controls and buttons and shows the page display and the abort button.
    void showPrintingLayout(QWidget* controls) const;
    void showPage(int page) const;
};

ReportDialogParts buildReportDialog(QDialog& dialog, QWidget* controls,
                                    const std::function<void()>& print,
                                    const std::function<void()>& help);
