#pragma once

#include <QDialog>

class LookupCommands;
class FontFamilyBox;
class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

// "Liste drucken": the printed list of a lookup table, composed on the preview's page
// printer, then shown in the preview or printed.
class TPrintHelpDBDialog : public QDialog {
    Q_OBJECT
public:
    TPrintHelpDBDialog(LookupCommands& commands, int kind, QWidget* parent = nullptr);

    // "&Drucken": composes the list; the preview or the printer follows unless aborted.
    void print();
    // "&Abbruch": stops a running list after its current row, otherwise closes.
    void abort();

    FontFamilyBox* fontBox() const { return m_font; }
    QSpinBox* sizeBox() const { return m_size; }
    QCheckBox* previewBox() const { return m_preview; }
    QLabel* pageLabel() const { return m_page; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* abortButton() const { return m_abort; }
    bool composing() const { return m_composing; }

    void done(int result) override;

private:
    LookupCommands& m_commands;
    int m_kind;
    FontFamilyBox* m_font = nullptr;
    QSpinBox* m_size = nullptr;
    QCheckBox* m_preview = nullptr;
    QLabel* m_page = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_abort = nullptr;
    QList<QWidget*> m_setupWidgets; // hidden while the list is composed
    bool m_composing = false;
    bool m_aborted = false;
};

// The printed list of the currencies.
class TPrintCurrencyDialog : public TPrintHelpDBDialog {
    Q_OBJECT
public:
    explicit TPrintCurrencyDialog(LookupCommands& commands, QWidget* parent = nullptr);
};
