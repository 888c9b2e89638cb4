#include "core/db/dataset.h"
#include "core/shell/appstate.h"
#include "gui/printing/pageview.h"
#include "gui/printing/previewdialog.h"
#include "gui/printing/qtprinterdevice.h"
#include "support/processrun.h"
#include "support/scriptedmessageservice.h"

#include <QAction>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

namespace {

class RecordingPrinter : public PrinterDevice {
public:
    QString name() const override { return QStringLiteral("Test"); }
    int resolutionX() const override { return 300; }
    int resolutionY() const override { return 300; }
    QSize paperSizePixels() const override { return {2480, 3508}; }
    QSize physicalOffsetPixels() const override { return {71, 71}; }
    Orientation orientation() const override { return Orientation::Portrait; }
    void setOrientation(Orientation) override {}
    QString title() const override { return m_title; }
    void setTitle(const QString& t) override { m_title = t; }
    int copyCount() const override { return 1; }
    void setCopyCount(int) override {}
    bool beginJob() override { return running = true; }
    void drawPage(const PagePicture& page) override {
        printed.append(page.plainText().section('\n', 0, 0));
    }
    void newPage() override {}
    void endJob() override { running = false; }
    void abortJob() override { running = false; }
    bool jobRunning() const override { return running; }
    QStringList printed;
    bool running = false;
    QString m_title;
};

class CancellingProgress : public PrintProgress {
public:
    void start(const QString&, const QString&, int, bool) override {}
    void step(const QString&) override {}
    void finish() override {}
    void processEvents() override {}
    bool cancelRequested() const override { return true; }
};

} // namespace

class TestPreviewDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    ScriptedMessageService m_messages;
    std::unique_ptr<TPreviewDialog> m_preview;
    RecordingPrinter m_printer;

    void compose(int pages) {
        TPagePrinter& pp = m_preview->PagePrinter();
        pp.StartDocument();
        for (int i = 1; i <= pages; ++i) {
            if (i > 1)
                pp.NewPage();
            pp.WriteAlignedLine(QStringLiteral("Seite Nummer %1").arg(i));
        }
        pp.FinishDocument();
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = std::make_unique<AppState>();
        m_state->dataDirectory = m_dir->path() + "/";
        m_state->currentPrinter = QStringLiteral("PDF-Datei");
        m_messages = ScriptedMessageService();
        m_preview = std::make_unique<TPreviewDialog>(*m_state, m_messages);
        m_printer = RecordingPrinter();
    }
    void cleanup() { m_preview.reset(); }

    void setUpForReports() {
        TPagePrinter& pp = m_preview->PagePrinter();
        QCOMPARE(pp.MeasureUnit(), muMillimeters);
        QCOMPARE(pp.MarginTop(), 20.0);
        QCOMPARE(pp.MarginRight(), 6.0);
        QCOMPARE(TPreviewDialog::instance(), m_preview.get());
        QCOMPARE(m_preview->windowTitle(), QStringLiteral("Druckvorschau"));
    }

    void navigation() {
        compose(1);
        QCOMPARE(m_preview->pageStatus(), QStringLiteral("Seite 1 von 1"));
        for (const char* b : {"FirstBtn", "PriorBtn", "NextBtn", "LastBtn"})
            QVERIFY2(!m_preview->action(QString::fromLatin1(b))->isEnabled(), b);
        compose(3);
        QVERIFY(m_preview->action("NextBtn")->isEnabled());
        m_preview->showLastPage();
        QCOMPARE(m_preview->pageStatus(), QStringLiteral("Seite 3 von 3"));
        QVERIFY(!m_preview->action("NextBtn")->isEnabled());
        QVERIFY(m_preview->action("PriorBtn")->isEnabled());
        m_preview->showPriorPage();
        QCOMPARE(m_preview->PagePrinter().PageNumber(), 2);
    }

    void zoomBox_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("zoom");
        QTest::newRow("number") << "130" << 130;
        QTest::newRow("with percent sign") << "130%" << 25;
        QTest::newRow("text") << "groß" << 25;
    }
    void zoomBox() {
        QFETCH(QString, typed);
        QFETCH(int, zoom);
        m_preview->zoomBoxEntered(typed);
        QCOMPARE(int(m_preview->pageView().ZoomPercent()), zoom);
        if (zoom != 25) {
            QTRY_COMPARE(m_preview->zoomText(), QStringLiteral("130%"));
        }
        m_preview->zoomBoxChosen(0);
        QCOMPARE(m_preview->pageView().ZoomPercent(), 50u);
    }

    // The report zooms before the window is laid out; what opens must be the page width of the
    // shown window, and stay so when the window changes size, until a percentage is chosen.
    void opensAtPageWidth_data() {
        QTest::addColumn<bool>("shownBefore");
        QTest::newRow("first opening") << false;
        QTest::newRow("opened again") << true;
    }
    void opensAtPageWidth() {
        QFETCH(bool, shownBefore);
        m_preview->PagePrinter().setPrinter(&m_printer);
        if (shownBefore) {
            m_preview->show();
            QVERIFY(QTest::qWaitForWindowExposed(m_preview.get()));
            m_preview->hide();
        }
        compose(1);
        TPageView& view = m_preview->pageView();
        auto fitsWidth = [&view] {
            const int client = view.viewport()->width();
            const int page = view.pageSizeOnScreen().width();
            const int slack = 2 * view.style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                              2 * int(view.ShadowOffset()) + 6;
            return page <= client && page >= client - slack;
        };
        bool fitted = false, resizedFitted = false;
        QString shownText, opened;
        QTimer::singleShot(0, m_preview.get(), [&] {
            fitted = QTest::qWaitFor(fitsWidth);
            opened = QStringLiteral("%1% on %2 pixels")
                         .arg(view.ZoomPercent())
                         .arg(view.viewport()->width());
            if (QTest::qWaitFor([&] { return m_preview->zoomText() != QStringLiteral("100%"); }))
                shownText = m_preview->zoomText();
            m_preview->setWindowState(Qt::WindowNoState);
            m_preview->resize(500, 400);
            resizedFitted = QTest::qWaitFor(fitsWidth);
            m_preview->zoomBoxChosen(2);
            m_preview->resize(700, 500);
            if (QTest::qWaitFor([&] { return view.viewport()->width() > 500; }))
                m_preview->reject();
        });
        m_preview->deliver(true);
        QVERIFY2(fitted, qPrintable(opened));
        QVERIFY(resizedFitted);
        QCOMPARE(view.ZoomPercent(), 100u); // a chosen percentage stays
        QVERIFY(shownText.endsWith('%'));
        QVERIFY2(shownText.chopped(1).toInt() >= 50, qPrintable(shownText));
    }

    void scrollRangesFollowShadowAndZoom() {
        TPageView& view = m_preview->pageView();
        view.setZoomPercent(100);
        view.setShadowOffset(0);
        QCOMPARE(view.scrollRange(), view.pageSizeOnScreen() + QSize(2, 2));
        view.setShadowOffset(5);
        QCOMPARE(view.scrollRange(), view.pageSizeOnScreen() + QSize(12, 12));
        const QSize at100 = view.pageSizeOnScreen();
        view.setZoomPercent(50);
        QVERIFY(qAbs(view.pageSizeOnScreen().width() * 2 - at100.width()) <= 1);
    }

    void printThisPageOnly() {
        compose(4);
        m_preview->PagePrinter().setPrinter(&m_printer);
        m_preview->PagePrinter().setPageNumber(3);
        m_preview->printThisPage();
        QCOMPARE(m_printer.printed, QStringList({"Seite Nummer 3"}));
        QCOMPARE(m_preview->PagePrinter().FromPage(), 0u);
        QCOMPARE(m_preview->PagePrinter().ToPage(), 0u);
        m_preview->printAll();
        QCOMPARE(m_printer.printed.size(), 5);
    }

    void cancelledPrintIsReported() {
        compose(2);
        m_preview->PagePrinter().setPrinter(&m_printer);
        CancellingProgress cancel;
        m_preview->PagePrinter().setProgress(&cancel);
        m_preview->printAll();
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().text, QStringLiteral("Druck abgebrochen!"));
        QCOMPARE(m_messages.messages().first().buttons, MessageButton::Ok);
    }

    void savingPages_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("signature");
        QTest::addColumn<int>("offset");
        QTest::newRow("metafile") << "REPORT.TMF" << QByteArray(" EMF") << 40;
        QTest::newRow("pdf") << "seite.pdf" << QByteArray("%PDF") << 0;
        QTest::newRow("svg") << "seite.svg" << QByteArray("<?xml") << 0;
        QTest::newRow("png") << "seite.png" << QByteArray("\x89PNG") << 0;
    }
    void savingPages() {
        QFETCH(QString, name);
        QFETCH(QByteArray, signature);
        QFETCH(int, offset);
        compose(1);
        const QString path = m_dir->filePath(name);
        m_messages.answerFile(path);
        m_preview->savePage();
        QCOMPARE(m_messages.fileChoices().first().fileName, QStringLiteral("REPORT.TMF"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().mid(offset, signature.size()), signature);
        QCOMPARE(m_state->settings.emfSavePath, m_dir->path());
    }

    void cancelledSaveForgetsTheFolder() {
        compose(1);
        m_state->settings.emfSavePath = m_dir->path();
        m_preview->savePage();
        QCOMPARE(m_state->settings.emfSavePath, QString());
    }

    void buttonStyleIsStored() {
        QCOMPARE(m_preview->buttonStyle(), 3); // pictures and captions, as designed
        m_preview->setButtonStyle(2);
        m_preview->reject();
        QCOMPARE(settingsfile::readPreviewButtonType(m_state->settingsPath()), 2);
        TPreviewDialog again(*m_state, m_messages);
        QCOMPARE(again.buttonStyle(), 2);
    }

    void printsToPdf() {
        const QString pdf = m_dir->filePath("druck.pdf");
        QtPrinterDevice device(QStringLiteral("PDF-Datei"), [&] { return pdf; });
        TPagePrinter& pp = m_preview->PagePrinter();
        pp.setPrinter(&device);
        pp.setTitle(QStringLiteral("Testliste"));
        pp.setHeaderFormat(QStringLiteral("150"));
        pp.setHeader(QStringLiteral("Kopfzeile Seite {$PAGE}"));
        pp.setTableFormat(QStringLiteral("60|>30"));
        pp.StartDocument();
        for (int i = 1; i <= 120; ++i)
            pp.WriteColumns(QStringLiteral("Tonträger %1|%2,00").arg(i).arg(i));
        pp.FinishDocument();
        const int pages = pp.PageCount();
        QVERIFY(pages >= 2);
        QVERIFY(pp.PrintPages());
        QCOMPARE(pdfPages(pdf), pages);
        const QString content = pdfText(pdf);
        QVERIFY2(content.contains(QStringLiteral("Tonträger 120")), qPrintable(content.left(300)));
        QVERIFY(content.contains(QStringLiteral("Kopfzeile Seite 2")));
        if (qEnvironmentVariableIsSet("KEEP_PDF"))
            QFile::copy(pdf, qEnvironmentVariable("KEEP_PDF"));
    }
};

QTEST_MAIN(TestPreviewDialog)
#include "tst_previewdialog.moc"
