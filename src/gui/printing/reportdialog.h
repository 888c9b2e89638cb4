#pragma once

#include "core/db/records.h"

#include <QDialog>
#include <functional>
#include <vector>

struct AppState;
class MessageService;
class TPagePrinter;
class TPreviewDialog;
class FontFamilyBox;
class QCheckBox;
class QDialogButtonBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QVBoxLayout;
struct ReportProgress;
enum class ReportStatus;

// What every report dialog shares: the printer line, font and size, "Druckvorscha&u",
// optionally the templates of one type, "&Drucken", "&Abbruch" and "&Hilfe" beside the
// controls, and below them the printing layout (page display and abort button) that
// replaces the controls while a report is composed. Closing while a report runs stops it
// first; closing otherwise writes the settings back.
class ReportDialog : public QDialog {
    Q_OBJECT
public:
    // Composes and then previews or prints; the dialog closes when that is done.
    virtual void print() = 0;
    void setHelpHandler(std::function<void(int)> handler) { m_help = std::move(handler); }
    // The abort button: stops a running report, closes a stopped one.
    void abortPressed();
    void done(int result) override;

    QTableWidget* templateGrid() const { return m_grid; } // null in a dialog without templates
    FontFamilyBox* fontBox() const { return m_font; }
    QSpinBox* sizeBox() const { return m_size; }
    QCheckBox* previewBox() const { return m_preview; }
    QPushButton* abortButton() const { return m_abort; }
    bool printingLayout() const { return m_printing; }
    // Called whenever the report tells its progress (a page start; the statistics after
    // every row), for tests.
    std::function<void(int page)> pageStarted;

protected:
    ReportDialog(AppState& state, MessageService& messages, const QString& caption, int helpContext,
                 QWidget* parent);

    // The building blocks, placed by each dialog on controls().
    QWidget* controls() const { return m_controls; }
    QLabel* printerLabel() const;
    // "Druck&vorlagen" for a grid of the type's templates by "Index-Nummer", the first
    // selected.
    QLabel* createTemplateGrid(int type);
    // A column on controls(): the printer line, then the templates of the type (if any).
    QVBoxLayout* controlColumn(int templateType = 0);
    // "&Schriftart:" and "&Größe:" with their boxes, preset from the stored values.
    QHBoxLayout* fontRow(const QString& family, int storedSize);
    // Places the controls beside the buttons and the printing layout below; call last.
    void finishLayout();

    // Read again: the template may have been edited since the dialog opened.
    PrintTemplateRecord selectedTemplate() const;

    using Composer = std::function<ReportStatus(TPagePrinter&, const ReportProgress&)>;
    // Switches to the printing layout, composes through the preview's page printer, then
    // previews or prints. False when nothing was delivered: the dialog stays in its printing
    // layout and "&Abbruch" closes it.
    bool runReport(TPreviewDialog& preview, const Composer& compose);
    bool running() const { return m_running; }

    // Writes the dialog's own settings back on closing; the preview choice is written.
    virtual void closing() {}

    AppState& m_state;
    MessageService& m_messages;

private:
    void showPage(int page) const;

    int m_helpContext;
    std::function<void(int)> m_help;
    QWidget* m_controls = nullptr;
    FontFamilyBox* m_font = nullptr;
    QSpinBox* m_size = nullptr;
    QCheckBox* m_preview = nullptr;
    QTableWidget* m_grid = nullptr;
    int m_templateType = 0;
    std::vector<PrintTemplateRecord> m_templates;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_abort = nullptr;
    QLabel* m_pageLabel = nullptr;
    bool m_printing = false;
    bool m_running = false;
    bool m_abortRequested = false;
};
