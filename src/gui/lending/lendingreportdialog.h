#pragma once

#include "gui/printing/reportdialog.h"
#include "lendingcontext.h"

// What the reminder and lending list dialogs share: the templates of their type, further
// controls below them, font and preview, the preview taken from their context, and the
// font written back to their own settings on closing.
class LendingReportDialog : public ReportDialog {
    Q_OBJECT
public:
    void print() override;

protected:
    // fontName and fontSize: the settings this dialog presets from; storeFont writes back.
    LendingReportDialog(const LendingContext& context, const QString& caption, int helpContext,
                        int templateType, const QString& fontName, int fontSize, QWidget* parent);
    virtual void storeFont(const QString& family, int size) = 0;
    // Further controls go between the template grid and the font row.
    QVBoxLayout* extraControls() const { return m_extra; }
    virtual ReportStatus compose(TPagePrinter& printer, const ReportProgress& progress) = 0;
    void closing() override;

    const LendingContext& m_context;

private:
    QVBoxLayout* m_extra = nullptr;
};
