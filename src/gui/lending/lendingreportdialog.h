#pragma once

#include "core/db/records.h"
#include "gui/printing/reportdialoglayout.h"
#include "lendingcontext.h"

#include <QDialog>
#include <vector>

class FontFamilyBox;
class QCheckBox;
class QSpinBox;
class QTableWidget;
class QVBoxLayout;
class TPagePrinter;
struct ReportProgress;
enum class ReportStatus;

// What the reminder and lending list dialogs share: the printer, the templates of their
// type, font, size and preview, the printing layout with its abort button, and the
// settings written back on closing.
class LendingReportDialog : public QDialog {
    Q_OBJECT
public:
    // Composes and then previews or prints; the dialog closes when that is done.
    void print();
    void abortPressed();
    void done(int result) override;

    QTableWidget* templateGrid() const { return m_grid; }
    FontFamilyBox* fontBox() const { return m_font; }
    QSpinBox* sizeBox() const { return m_size; }
    QCheckBox* previewBox() const { return m_preview; }
    bool printingLayout() const { return m_printing; }

protected:
    // fontName and fontSize: the settings this dialog presets from; storeFont writes back.
    LendingReportDialog(const LendingContext& context, const QString& caption, int helpContext,
                        int templateType, const QString& fontName, int fontSize, QWidget* parent);
    virtual void storeFont(const QString& family, int size) = 0;
    // Further controls go between the template grid and the font row.
    QVBoxLayout* extraControls() const { return m_extra; }
    PrintTemplateRecord selectedTemplate() const;
    virtual ReportStatus compose(TPagePrinter& printer, const ReportProgress& progress) = 0;

    const LendingContext& m_context;

private:
    int m_type;
    std::vector<PrintTemplateRecord> m_templates;
    QWidget* m_controls = nullptr;
    QVBoxLayout* m_extra = nullptr;
    QTableWidget* m_grid = nullptr;
    FontFamilyBox* m_font = nullptr;
    QSpinBox* m_size = nullptr;
    QCheckBox* m_preview = nullptr;
    ReportDialogParts m_parts;
    bool m_printing = false;
    bool m_running = false;
    bool m_abortRequested = false;
};
