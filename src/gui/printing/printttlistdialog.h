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
class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;
enum class ReportStatus;

// "Tonträgerliste drucken": the carriers of chosen media types, states or music directions
// through a list template, previewed or printed.
class TPrintTtListDialog : public QDialog {
    Q_OBJECT
public:
    TPrintTtListDialog(AppState& state, MessageService& messages, TPreviewDialog& preview,
                       QWidget* parent = nullptr);

    void print();
    void abortPressed();
    void done(int result) override;
    void setHelpHandler(std::function<void(int)> handler) { m_help = std::move(handler); }

    // The selection kind (0 media types, 1 states, 2 music directions) and the order.
    int selectionKind() const;
    void setSelectionKind(int kind);
    int order() const;
    void setOrder(int order);

    QListWidget* entryList() const { return m_list; }
    QLabel* listLabel() const { return m_listLabel; }
    QPushButton* allButton() const { return m_all; }
    QPushButton* noneButton() const { return m_none; }
    QCheckBox* dateBox() const { return m_dateBox; }
    QDateEdit* dateEdit() const { return m_date; }
    QTableWidget* templateGrid() const { return m_grid; }
    FontFamilyBox* fontBox() const { return m_font; }
    QSpinBox* sizeBox() const { return m_size; }
    QCheckBox* previewBox() const { return m_preview; }
    QPushButton* abortButton() const { return m_parts.abort; }
    bool printingLayout() const { return m_printing; }
    // Called at every page start while printing, for tests.
    std::function<void(int page)> pageStarted;

private:
    void build();
    void fillList();
    PrintTemplateRecord selectedTemplate() const;

    AppState& m_state;
    MessageService& m_messages;
    TPreviewDialog& m_previewDialog;
    std::vector<LookupRecord> m_rows;
    std::vector<PrintTemplateRecord> m_templates;
    QWidget* m_controls = nullptr;
    QLabel* m_listLabel = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_all = nullptr;
    QPushButton* m_none = nullptr;
    QButtonGroup* m_selection = nullptr;
    QButtonGroup* m_sort = nullptr;
    QCheckBox* m_dateBox = nullptr;
    QDateEdit* m_date = nullptr;
    QTableWidget* m_grid = nullptr;
    FontFamilyBox* m_font = nullptr;
    QSpinBox* m_size = nullptr;
    QCheckBox* m_preview = nullptr;
    ReportDialogParts m_parts;
    bool m_printing = false, m_running = false, m_abortRequested = false;
    std::function<void(int)> m_help;
};
