#pragma once

#include "core/printing/carrierreport.h"
#include "reportdialog.h"

class QVBoxLayout;

// "Tonträger drucken": one carrier through a carrier template, previewed or printed.
class TPrintTtDialog : public ReportDialog {
    Q_OBJECT
public:
    TPrintTtDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                   int carrierNumber, QWidget* parent = nullptr);

    void print() override;
    QCheckBox* additionalTextBox() const { return m_additional; }

protected:
    TPrintTtDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                   int carrierNumber, const QString& caption, int helpContext, QWidget* parent);
    // The template, font and additional texts as chosen.
    carrierreport::Options options() const;
    virtual ReportStatus compose(TPagePrinter& printer, const ReportProgress& progress);
    void addOption(QCheckBox* box); // a further check box below the others
    void closing() override;

    TPreviewDialog& m_previewDialog;
    int m_carrierNumber = 0;

private:
    QCheckBox* m_additional = nullptr;
    QVBoxLayout* m_options = nullptr;
};

// "Alle Tonträger drucken": every carrier, each as the carrier sheet prints it.
class TPrintAllTtDialog : public TPrintTtDialog {
    Q_OBJECT
public:
    TPrintAllTtDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                      QWidget* parent = nullptr);
    QCheckBox* pageFeedBox() const { return m_pageFeed; }

protected:
    ReportStatus compose(TPagePrinter& printer, const ReportProgress& progress) override;

private:
    QCheckBox* m_pageFeed = nullptr;
};
