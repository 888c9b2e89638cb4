#pragma once

#include "gui/printing/reportdialog.h"

class LookupCommands;

// "Liste drucken": the printed list of a lookup table, composed on the preview's page
// printer, then shown in the preview or printed.
class TPrintHelpDBDialog : public ReportDialog {
    Q_OBJECT
public:
    TPrintHelpDBDialog(LookupCommands& commands, int kind, QWidget* parent = nullptr);

    // "&Drucken": composes the list; the preview or the printer follows unless aborted.
    void print() override;

protected:
    void closing() override;

private:
    int m_kind;
};

// The printed list of the currencies.
class TPrintCurrencyDialog : public TPrintHelpDBDialog {
    Q_OBJECT
public:
    explicit TPrintCurrencyDialog(LookupCommands& commands, QWidget* parent = nullptr);
};
