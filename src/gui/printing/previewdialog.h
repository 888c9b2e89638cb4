#pragma once

#include "core/printing/pageprinter.h"
#include "core/printing/reportrun.h"

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

struct AppState;
class MessageService;
class QAction;
class QComboBox;
class QLabel;
class QToolBar;
class TPageView;
class TPPPrnPrgDlg;
class QtPrinterDevice;

// "Druckvorschau": owns the program's one page printer. Reports compose into it, then show
// this window modally or print straight away. Closing only hides it.
class TPreviewDialog : public QDialog {
    Q_OBJECT
public:
    TPreviewDialog(AppState& state, MessageService& messages, QWidget* parent = nullptr);
    ~TPreviewDialog() override;

    // The window of the running program, or null before it was created.
    static TPreviewDialog* instance();

    TPagePrinter& PagePrinter() { return *m_printer; }
    TPageView& pageView() { return *m_view; }
    QTimer& ZoomTimer() { return m_zoomTimer; }
    // After a report composed its pages: shows them in the preview, or prints them at once.
    void deliver(bool showPreview);
    // Runs a report dialog's composition with running set. A thrown error ends the document
    // and is shown; composed pages are delivered. False when nothing was delivered (failed or
    // stopped): the dialog then stays in its printing layout.
    bool composeAndDeliver(bool& running, bool showPreview, MessageService& messages,
                           const std::function<ReportStatus()>& compose);
    // A report's own handler for the start of every page; cleared when the report closes.
    std::function<void(TPagePrinter&)> reportNewPage;

    // Uses the printer now current in the program (after the printer set-up).
    void selectPrinter(const QString& name);

    // Commands of the tool bar, also for tests.
    void showFirstPage();
    void showPriorPage();
    void showNextPage();
    void showLastPage();
    void printAll();
    void printThisPage();
    void savePage();
    void setButtonStyle(int mode); // 1 pictures, 2 texts, 3 both
    int buttonStyle() const { return m_buttonStyle; }
    // Enter in the zoom box: a whole number zooms, anything else is ignored.
    void zoomBoxEntered(const QString& text);
    void zoomBoxChosen(int index);

    QString pageStatus() const;
    QString zoomText() const;
    QAction* action(const QString& objectName) const;

    void setHelpHandler(std::function<void(int)> handler) { m_help = std::move(handler); }

    // Closing hides the window and stores the button style.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateNavigation();
    void closePreview();
    QAction* addTool(const QString& name, const QString& caption, const QString& hint, int icon,
                     void (TPreviewDialog::*slot)());

    AppState& m_state;
    MessageService& m_messages;
    std::unique_ptr<QtPrinterDevice> m_device;
    std::unique_ptr<TPagePrinter> m_printer;
    std::unique_ptr<TPPPrnPrgDlg> m_progress;
    TPageView* m_view = nullptr;
    QToolBar* m_toolbar = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QLabel* m_statusPage = nullptr;
    QLabel* m_statusPrinter = nullptr;
    QTimer m_zoomTimer;
    int m_buttonStyle = 3;
    std::function<void(int)> m_help;
};
