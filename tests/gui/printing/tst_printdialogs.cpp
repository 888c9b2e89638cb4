#include "core/db/recordaccess.h"
#include "core/printing/templatestore.h"
#include "gui/printing/fontfamilybox.h"
#include "gui/printing/previewdialog.h"
#include "gui/printing/printcoverdialog.h"
#include "gui/printing/printstatdialog.h"
#include "gui/printing/printttdialog.h"
#include "gui/printing/printttlistdialog.h"
#include "support/appstatefixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The carrier, print-all and cover dialogs: what they offer on opening, what they store on
// closing, and their printing layout; with the list and statistics dialogs, what every report
// dialog shares.
class TestPrintDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    ScriptedMessageService m_messages;
    std::unique_ptr<TPreviewDialog> m_preview;

    void addCarrier(int number, int type) {
        CarrierRecord c;
        c.folgenummerKopf = number;
        c.gruppeInterpretText1 = QStringLiteral("Abba %1").arg(number);
        c.text2 = QStringLiteral("Gold");
        c.artDerSchallplatte = type;
        records::insert(m_state->db, c);
        SongRecord s;
        s.folgenummerPosition = number;
        s.seiteDerSchallplatte = 1;
        s.nrDesLiedes = 1;
        s.titelDesLiedes = QStringLiteral("Waterloo");
        records::insert(m_state->db, s);
    }
    // The preview shows modally; it closes at once so the dialog goes on.
    void closePreviewWhenShown() {
        auto* timer = new QTimer(m_preview.get());
        connect(timer, &QTimer::timeout, m_preview.get(), [this, timer] {
            if (m_preview->isVisible()) {
                m_preview->reject();
                timer->deleteLater();
            }
        });
        timer->start(10);
    }

    // The dialog a data row of the shared checks opens.
    std::unique_ptr<ReportDialog> openDialog(const QString& which) {
        if (which == QLatin1String("carrier"))
            return std::make_unique<TPrintTtDialog>(*m_state, m_messages, *m_preview, 1);
        if (which == QLatin1String("all"))
            return std::make_unique<TPrintAllTtDialog>(*m_state, m_messages, *m_preview);
        if (which == QLatin1String("list"))
            return std::make_unique<TPrintTtListDialog>(*m_state, m_messages, *m_preview);
        if (which == QLatin1String("statistics"))
            return std::make_unique<TPrintStatDialog>(
                *m_state, m_messages, *m_preview, 1,
                std::vector<QStringList>{{QStringLiteral("Art")}},
                QStringList{QStringLiteral("Gesamt")});
        return std::make_unique<TPrintCoverDialog>(*m_state, m_messages, *m_preview, 1);
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->path());
        QVERIFY(m_state);
        m_state->currentPrinter = QStringLiteral("PDF-Datei");
        m_messages = ScriptedMessageService();
        m_preview = std::make_unique<TPreviewDialog>(*m_state, m_messages);
        addCarrier(1, 1);
        addCarrier(2, 1);
    }
    void cleanup() {
        m_preview.reset();
        m_state.reset();
    }

    // "&Hilfe" asks for each dialog's own context; closing writes the preview choice and
    // the dialog's own font keys back (the cover dialog takes its font from the media type).
    void helpAndClosing_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<int>("help");
        QTest::newRow("carrier") << "carrier" << 34002;
        QTest::newRow("all") << "all" << 34000;
        QTest::newRow("list") << "list" << 34001;
        QTest::newRow("statistics") << "statistics" << 37002;
        QTest::newRow("cover") << "cover" << 34004;
    }
    void helpAndClosing() {
        QFETCH(QString, which);
        QFETCH(int, help);
        m_state->settings.printPreview = true;
        std::unique_ptr<ReportDialog> dialog = openDialog(which);
        int asked = 0;
        dialog->setHelpHandler([&](int context) { asked = context; });
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
        QCOMPARE(asked, help);
        QCOMPARE(dialog->property("helpContext").toInt(), help);

        dialog->fontBox()->setFamily(QStringLiteral("Courier New"));
        dialog->sizeBox()->setValue(13);
        dialog->previewBox()->setChecked(false);
        dialog->reject();
        const Settings& s = m_state->settings;
        QVERIFY(!s.printPreview);
        const std::map<QString, std::pair<QString, int>> stored{
            {QStringLiteral("records"), {s.fontNameRecords, s.fontSizeRecords}},
            {QStringLiteral("list"), {s.fontNameList, s.fontSizeList}},
            {QStringLiteral("statistics"), {s.fontNameStat, s.fontSizeStat}}};
        const QString own = which == QLatin1String("carrier") || which == QLatin1String("all")
                                ? QStringLiteral("records")
                                : which;
        for (const auto& [keys, font] : stored) {
            QCOMPARE(font.first == QLatin1String("Courier New"), keys == own);
            QCOMPARE(font.second == 13, keys == own);
        }
    }

    // Stopped while composing, by "&Abbruch" or by closing the frame, nothing reaches the
    // preview; the dialog stays in its printing layout, except the cover dialog, which closes.
    void stopWhileComposing_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<bool>("byClosing");
        QTest::addColumn<bool>("closes");
        QTest::newRow("carrier, abort") << "carrier" << false << false;
        QTest::newRow("carrier, closing") << "carrier" << true << false;
        QTest::newRow("all, abort") << "all" << false << false;
        QTest::newRow("cover, abort") << "cover" << false << true;
        QTest::newRow("cover, closing") << "cover" << true << true;
    }
    void stopWhileComposing() {
        QFETCH(QString, which);
        QFETCH(bool, byClosing);
        QFETCH(bool, closes);
        m_state->settings.printPreview = true;
        std::unique_ptr<ReportDialog> dialog = openDialog(which);
        dialog->show();
        int stops = 0;
        dialog->pageStarted = [&](int) {
            ++stops;
            if (byClosing)
                dialog->reject();
            else
                dialog->abortButton()->click();
            QVERIFY(dialog->isVisible()); // a running report is stopped first, never left
        };
        bool previewed = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, m_preview.get(), [&] {
            if (m_preview->isVisible()) {
                previewed = true;
                m_preview->reject();
            }
        });
        watch.start(5);
        dialog->print();
        QVERIFY(stops > 0);
        QVERIFY(!previewed);
        QCOMPARE(dialog->isVisible(), !closes);
        if (!closes) {
            QVERIFY(dialog->printingLayout());
            dialog->pageStarted = nullptr;
            dialog->abortButton()->click();
            QVERIFY(!dialog->isVisible());
        }
        QVERIFY(m_messages.messages().isEmpty());
    }

    void carrierDialogOpensAsStored() {
        m_state->settings.fontSizeRecords = 0; // would never end a page
        m_state->settings.fontNameRecords = QStringLiteral("Keine Schrift");
        m_state->settings.printAdditionalText = true;
        TPrintTtDialog dialog(*m_state, m_messages, *m_preview, 1);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tonträger drucken"));
        QCOMPARE(dialog.sizeBox()->value(), 11);
        QCOMPARE(dialog.fontBox()->family(), QStringLiteral("Keine Schrift"));
        QVERIFY(dialog.additionalTextBox()->isChecked());
        QCOMPARE(dialog.templateGrid()->currentRow(), 0);
        QCOMPARE(dialog.templateGrid()->item(0, 0)->text(),
                 templatestore::choose(m_state->db, 2, QString())->bezeichnung);

        dialog.sizeBox()->setValue(9);
        dialog.previewBox()->setChecked(false);
        dialog.reject();
        QCOMPARE(m_state->settings.fontSizeRecords, 9);
        QVERIFY(!m_state->settings.printPreview);
    }

    void carrierPrintsIntoThePreview() {
        m_state->settings.printPreview = true;
        TPrintTtDialog dialog(*m_state, m_messages, *m_preview, 1);
        closePreviewWhenShown();
        dialog.print();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const TPagePrinter& printer = m_preview->PagePrinter();
        QCOMPARE(printer.PageCount(), 1);
        QVERIFY(printer.PageImage(1).plainText().contains(QStringLiteral("Waterloo")));
        QVERIFY(m_messages.messages().isEmpty());
    }

    // An empty part leaves the dialog in its printing layout; the remaining "Abbruch" closes.
    void emptyPartKeepsPrintingLayout() {
        PrintTemplateRecord t = *templatestore::choose(m_state->db, 2, QString());
        t.fussText.clear();
        templatestore::save(m_state->db, t);
        TPrintTtDialog dialog(*m_state, m_messages, *m_preview, 1);
        dialog.show();
        dialog.print();
        QVERIFY(dialog.printingLayout());
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.abortButton()->isVisible());
        QCOMPARE(m_messages.messages().first().helpContext, 5008);
        dialog.abortButton()->click();
        QVERIFY(!dialog.isVisible());
    }

    void printAllFeedNotStored() {
        TPrintAllTtDialog dialog(*m_state, m_messages, *m_preview);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Alle Tonträger drucken"));
        QVERIFY(dialog.pageFeedBox()->isChecked());
        dialog.pageFeedBox()->setChecked(false);
        closePreviewWhenShown();
        dialog.print();
        QCOMPARE(m_preview->PagePrinter().PageCount(), 1); // both carriers on one page
        TPrintAllTtDialog again(*m_state, m_messages, *m_preview);
        QVERIFY(again.pageFeedBox()->isChecked());
    }

    // Another type refills the controls from its cover settings (the defaults for a type
    // without them) and never changes the carrier.
    void coverTypeChoice() {
        CoverLayoutRecord cover;
        cover.indexNummer = 2;
        cover.fontName = QStringLiteral("Courier New");
        cover.fontGroesse = 9;
        cover.leerzeilenVor = 1;
        cover.leerzeilenNach = 7;
        m_state->db.exec(u"DELETE FROM \"MUSIKCOV\"");
        records::insert(m_state->db, cover);
        TPrintCoverDialog dialog(*m_state, m_messages, *m_preview, 1);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Hüllen drucken"));
        QCOMPARE(dialog.typeBox()->currentIndex(), 0);
        QCOMPARE(dialog.fontBox()->family(), QStringLiteral("Arial"));
        QCOMPARE(dialog.sizeBox()->value(), 6);
        QCOMPARE(dialog.linesBeforeBox()->value(), 4);
        QCOMPARE(dialog.linesAfterBox()->value(), 2);
        dialog.typeBox()->setCurrentIndex(1);
        QCOMPARE(dialog.fontBox()->family(), QStringLiteral("Courier New"));
        QCOMPARE(dialog.sizeBox()->value(), 9);
        QCOMPARE(dialog.linesBeforeBox()->value(), 1);
        QCOMPARE(dialog.linesAfterBox()->value(), 7);
        QCOMPARE(dialog.linesAfterBox()->maximum(), 15);
        closePreviewWhenShown();
        dialog.print();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const auto carrier =
            records::select<CarrierRecord>(m_state->db, u"WHERE \"Folgenummer Kopf\" = 1");
        QCOMPARE(carrier.front().artDerSchallplatte, 1.0);
        QVERIFY(
            m_preview->PagePrinter().PageImage(1).plainText().contains(QStringLiteral("Waterloo")));
    }
};

QTEST_MAIN(TestPrintDialogs)
#include "tst_printdialogs.moc"
