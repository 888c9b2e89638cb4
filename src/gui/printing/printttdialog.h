#pragma once

#include "core/db/records.h"
#include "reportdialoglayout.h"

#include <QDialog>
#include <functional>
#include <vector>

struct AppState;
class MessageService;
class TPreviewDialog;
class FontFamilyBox;
class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
enum class ReportStatus;

// "Tonträger drucken": one carrier through a carrier template, previewed or printed.
class TPrintTtDialog : public QDialog {
    Q_OBJECT
public:
    TPrintTtDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                   int carrierNumber, QWidget* parent = nullptr);

    // Composes and then previews or prints; the dialog closes when that is done.
    void print();

    QTableWidget* templateGrid() const { return m_grid; }
    FontFamilyBox* fontBox() const { return m_font; }
    QSpinBox* sizeBox() const { return m_size; }
    QCheckBox* additionalTextBox() const { return m_additional; }
    QCheckBox* previewBox() const { return m_preview; }
    QPushButton* abortButton() const { return m_abort; }
    bool printingLayout() const { return m_printing; }
    // The abort button: stops a running report, closes a stopped one.
    void abortPressed();

    void done(int result) override;
    void setHelpHandler(std::function<void(int)> handler) { m_help = std::move(handler); }

protected:
    TPrintTtDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                   int carrierNumber, const QString& caption, int helpContext, QWidget* parent);
    virtual ReportStatus compose();
    PrintTemplateRecord selectedTemplate() const;
    void addOption(QCheckBox* box); // a further check box below the others
    void pageStarted(int page);
    bool abortRequested() const { return m_abortRequested; }

    AppState& m_state;
    MessageService& m_messages;
    TPreviewDialog& m_previewDialog;
    int m_carrierNumber = 0;

private:
    void build(const QString& caption, int helpContext);
    void setPrintingLayout();

    std::vector<PrintTemplateRecord> m_templates;
    QTableWidget* m_grid = nullptr;
    FontFamilyBox* m_font = nullptr;
    QSpinBox* m_size = nullptr;
    QCheckBox* m_additional = nullptr;
    QCheckBox* m_preview = nullptr;
    QWidget* m_controls = nullptr;
    class QVBoxLayout* m_options = nullptr;
    QPushButton* m_abort = nullptr;
    ReportDialogParts m_parts;
    bool m_printing = false;
    bool m_running = false;
    bool m_abortRequested = false;
    std::function<void(int)> m_help;
};

// "Alle Tonträger drucken": every carrier, each as the carrier sheet prints it.
class TPrintAllTtDialog : public TPrintTtDialog {
    Q_OBJECT
public:
    TPrintAllTtDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                      QWidget* parent = nullptr);
    QCheckBox* pageFeedBox() const { return m_pageFeed; }

protected:
    ReportStatus compose() override;

private:
    QCheckBox* m_pageFeed = nullptr;
};
