#pragma once

#include "reportdialoglayout.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

struct AppState;
class MessageService;
class TPreviewDialog;
class FontFamilyBox;
class QCheckBox;
class QPushButton;
class QSpinBox;
enum class ReportStatus;

// "Statistik drucken": the statistics table through the page printer, previewed or printed.
class TPrintStatDialog : public QDialog {
    Q_OBJECT
public:
    // rows: the grid's rows, title row first; totals: the "Gesamt" row.
    TPrintStatDialog(AppState& state, MessageService& messages, TPreviewDialog& preview, int kind,
                     std::vector<QStringList> rows, QStringList totals, QWidget* parent = nullptr);

    void print();
    void abortPressed();
    void done(int result) override;
    void setHelpHandler(std::function<void(int)> handler) { m_help = std::move(handler); }

    FontFamilyBox* fontBox() const { return m_font; }
    QSpinBox* sizeBox() const { return m_size; }
    QCheckBox* previewBox() const { return m_preview; }
    QPushButton* abortButton() const { return m_parts.abort; }
    bool printingLayout() const { return m_printing; }
    // Called after every printed row, for tests.
    std::function<void(int page)> rowPrinted;

private:
    AppState& m_state;
    MessageService& m_messages;
    TPreviewDialog& m_previewDialog;
    int m_kind;
    std::vector<QStringList> m_rows;
    QStringList m_totals;
    QWidget* m_controls = nullptr;
    FontFamilyBox* m_font = nullptr;
    QSpinBox* m_size = nullptr;
    QCheckBox* m_preview = nullptr;
    ReportDialogParts m_parts;
    bool m_printing = false, m_running = false, m_abortRequested = false;
    std::function<void(int)> m_help;
};
