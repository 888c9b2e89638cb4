#include "core/common/csvwriter.h"
#include "core/db/recordaccess.h"
#include "core/printing/pageprinter.h"
#include "gui/printing/fontfamilybox.h"
#include "gui/printing/previewdialog.h"
#include "gui/printing/printstatdialog.h"
#include "gui/printing/statistikdialog.h"
#include "support/appstatefixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The statistics window (counting, abort, result, chart) and its print dialog.
class TestStatistikDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    ScriptedMessageService m_messages;
    std::unique_ptr<TPreviewDialog> m_preview;

    // Carriers 1..n, every one a year of its own from 1900 on, LPs (type 1) of 10 minutes.
    void addCarriers(int n) {
        Transaction t(m_state->db);
        for (int i = 1; i <= n; ++i) {
            CarrierRecord c;
            c.folgenummerKopf = i;
            c.nummerierung = i;
            c.gruppeInterpretText1 = QStringLiteral("Gruppe %1").arg(i);
            c.artDerSchallplatte = 1 + i % 3;
            c.laufzeitDerSchallplatte = 10.30;
            c.kaufpreis = 10;
            c.kaufdatum = QDate(2005, 1, 1);
            c.anzahlDerLieder = i % 7;
            c.erscheinungsjahr = QString::number(1900 + i);
            records::insert(m_state->db, c);
        }
        t.commit();
    }

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

    static QStringList column(QTableWidget* grid, int c) {
        QStringList out;
        for (int row = 0; row < grid->rowCount(); ++row)
            out.append(grid->item(row, c)->text());
        return out;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->path());
        QVERIFY(m_state);
        m_state->currentPrinter = QStringLiteral("PDF-Datei");
        m_messages = ScriptedMessageService();
        m_preview = std::make_unique<TPreviewDialog>(*m_state, m_messages);
    }
    void cleanup() {
        m_preview.reset();
        m_state.reset();
    }

    // Showing the window counts once; showing it again (after the print dialog) does not.
    void countsOnceWhenShown() {
        addCarriers(30);
        TStatistikDialog dialog(*m_state, m_messages, 4);
        dialog.rowsPerSlice = 7;
        int slices = 0;
        dialog.sliceDone = [&](int done, int total) {
            ++slices;
            QCOMPARE(dialog.gauge()->value(), done);
            QCOMPARE(dialog.gauge()->maximum(), total);
        };
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Erscheinungsjahr-Statistik"));
        dialog.show();
        QTRY_VERIFY(dialog.counted());
        QCOMPARE(slices, 5);
        QVERIFY(!dialog.gauge()->isVisible());
        QVERIFY(!dialog.abortButton()->isVisible());
        QVERIFY(dialog.resultGrid()->isVisible());
        QCOMPARE(dialog.resultGrid()->rowCount(), 30);
        QCOMPARE(dialog.resultGrid()->item(0, 0)->text(), QStringLiteral("1901"));
        QCOMPARE(column(dialog.totalsGrid(), 0), QStringList{QStringLiteral("Gesamt")});
        QCOMPARE(dialog.totalsGrid()->item(0, 1)->text(), QStringLiteral("30"));
        QCOMPARE(dialog.totalsGrid()->item(0, 2)->text(), QStringLiteral("315,00"));
        QCOMPARE(dialog.totalsGrid()->item(0, 3)->text(), QStringLiteral("300,00 EUR"));

        dialog.hide();
        dialog.show();
        // A count would be queued at once (a zero timer): what is queued runs here.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(slices, 5);
    }

    // "Als CSV-Datei speichern..." in either grid: titles, groups and totals as shown.
    void csvHoldsGridAndTotals() {
        addCarriers(4);
        TStatistikDialog dialog(*m_state, m_messages, 1);
        dialog.show();
        QTRY_VERIFY(dialog.counted());
        QByteArray shown = csv::kByteOrderMark;
        QStringList titles;
        for (int c = 0; c < dialog.resultGrid()->columnCount(); ++c)
            titles.append(dialog.resultGrid()->horizontalHeaderItem(c)->text());
        shown += csv::row(titles);
        for (QTableWidget* grid : {dialog.resultGrid(), dialog.totalsGrid()}) {
            for (int r = 0; r < grid->rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < grid->columnCount(); ++c)
                    cells.append(grid->item(r, c)->text());
                shown += csv::row(cells);
            }
        }
        QVERIFY(shown.contains("Gesamt;4;42,00;40,00 EUR;"));
        for (QTableWidget* grid : {dialog.resultGrid(), dialog.totalsGrid()}) {
            QCOMPARE(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
            QCOMPARE(grid->actions().size(), 1);
            const QString path = m_dir->filePath(QStringLiteral("statistik.csv"));
            m_messages.answerFile(path);
            grid->actions().first()->trigger();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), shown);
        }
    }

    void abortCloses() {
        addCarriers(30);
        TStatistikDialog dialog(*m_state, m_messages, 1);
        dialog.rowsPerSlice = 7;
        int slices = 0;
        dialog.sliceDone = [&](int, int) {
            if (++slices == 2)
                dialog.abortButton()->click();
        };
        dialog.show();
        QTRY_VERIFY(!dialog.isVisible());
        QCOMPARE(slices, 2);
        QVERIFY(!dialog.counted());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // Bars in the grid's order; time in hours from the seconds.
    void chartEqualsGrid_data() {
        QTest::addColumn<int>("choice");
        QTest::newRow("Anzahl") << 0;
        QTest::newRow("Zeit") << 1;
        QTest::newRow("Wert") << 2;
        QTest::newRow("Anzahl Lieder") << 3;
    }
    void chartEqualsGrid() {
        QFETCH(int, choice);
        addCarriers(30);
        TStatistikDialog dialog(*m_state, m_messages, 1);
        QVERIFY(dialog.count());
        dialog.chartChoice()->setCurrentIndex(choice);
        QCOMPARE(dialog.chartChoice()->currentText(),
                 dialog.resultGrid()->horizontalHeaderItem(choice + 1)->text());
        QCOMPARE(dialog.chartCategories(), column(dialog.resultGrid(), 0));
        const QStringList cells = column(dialog.resultGrid(), choice + 1);
        const QList<double> bars = dialog.chartValues();
        QCOMPARE(bars.size(), cells.size());
        for (int i = 0; i < cells.size(); ++i) {
            QString number = cells[i].section(QLatin1Char(' '), 0, 0);
            number.remove(QLatin1Char('.')).replace(QLatin1Char(','), QLatin1Char('.'));
            double expected = number.toDouble();
            if (choice == 1) { // minutes,seconds -> hours
                const qint64 hundredths = qRound64(expected * 100);
                expected = double((hundredths / 100) * 60 + hundredths % 100) / 3600.0;
            }
            QCOMPARE(bars[i], expected);
        }
        double sum = 0;
        for (double b : bars)
            sum += b;
        QVERIFY(sum > 0);
    }

    void printWithoutPrinter() {
        TStatistikDialog dialog(*m_state, m_messages, 3);
        QVERIFY(dialog.count());
        dialog.printers = [] { return QStringList(); };
        dialog.printPressed();
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().text,
                 QStringLiteral("Es es kein Drucker definiert."));
        QCOMPARE(m_messages.messages().first().helpContext, 15000);
    }

    // A long table: the column titles come again at the top of every page, below the header.
    void printRepeatsColumnTitles() {
        addCarriers(150);
        TStatistikDialog statistics(*m_state, m_messages, 4);
        QVERIFY(statistics.count());
        std::vector<QStringList> rows;
        for (int r = -1; r < statistics.resultGrid()->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 5; ++c)
                cells.append(r < 0 ? statistics.resultGrid()->horizontalHeaderItem(c)->text()
                                   : statistics.resultGrid()->item(r, c)->text());
            rows.push_back(cells);
        }
        QStringList totals;
        for (int c = 0; c < 5; ++c)
            totals.append(statistics.totalsGrid()->item(0, c)->text());
        m_state->settings.printPreview = true;
        m_state->settings.fontSizeStat = 10;
        TPrintStatDialog dialog(*m_state, m_messages, *m_preview, 4, rows, totals);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Statistik drucken"));
        QCOMPARE(dialog.sizeBox()->value(), 10);
        closePreviewWhenShown();
        dialog.print();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const TPagePrinter& printer = m_preview->PagePrinter();
        QVERIFY(printer.PageCount() >= 3);
        for (int page = 1; page <= printer.PageCount(); ++page) {
            const auto& texts = printer.PageImage(page).texts();
            QStringList words;
            for (const PagePicture::Text& t : texts)
                words.append(t.text);
            const qsizetype title = words.indexOf(QStringLiteral("Bezeichnung"));
            QVERIFY2(title >= 0, qPrintable(QString::number(page)));
            QCOMPARE(words.mid(title, 5), statistics::titleRow());
            QVERIFY(words.contains(QStringLiteral("Seite %1").arg(page)));
            // Header above the titles, the groups below them.
            const int headerY =
                texts[size_t(words.indexOf(QStringLiteral("Seite %1").arg(page)))].topLeft.y();
            QVERIFY(headerY < texts[size_t(title)].topLeft.y());
            for (qsizetype i = 0; i < words.size(); ++i)
                if (words[i].size() == 4 && words[i].startsWith(QLatin1String("19")))
                    QVERIFY(texts[size_t(i)].topLeft.y() > texts[size_t(title)].topLeft.y());
        }
        QVERIFY(
            printer.PageImage(printer.PageCount()).plainText().contains(QStringLiteral("Gesamt")));
        QVERIFY(!m_preview->reportNewPage); // cleared on closing
    }

    void printAbortStopsAndStoresSettings() {
        addCarriers(10);
        TStatistikDialog statistics(*m_state, m_messages, 1);
        QVERIFY(statistics.count());
        TPrintStatDialog dialog(*m_state, m_messages, *m_preview, 1,
                                {statistics::titleRow(), statistics::titleRow()},
                                statistics::titleRow());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tonträger-Statistik drucken"));
        dialog.show();
        dialog.pageStarted = [&](int) { dialog.abortButton()->click(); };
        dialog.previewBox()->setChecked(false);
        dialog.sizeBox()->setValue(14);
        dialog.print();
        QVERIFY(dialog.printingLayout());
        QVERIFY(dialog.isVisible());
        QVERIFY(!m_preview->isVisible());
        dialog.pageStarted = nullptr;
        dialog.abortButton()->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(m_state->settings.fontSizeStat, 14);
        QVERIFY(!m_state->settings.printPreview);
    }
};

QTEST_MAIN(TestStatistikDialog)
#include "tst_statistikdialog.moc"
