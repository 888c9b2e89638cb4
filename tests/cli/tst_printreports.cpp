#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "support/processrun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// diskarium-tool print carrier / all / cover and template list / export / import, end to
// end: exit code, the text of the PDF, and nothing written on failure.
class TestPrintReports : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_data;

private slots:
    void initTestCase() {
        m_data = m_dir.filePath(QStringLiteral("daten"));
        dataset::create(m_data);
        Database db;
        db.open(dataset::databasePath(m_data));
        CarrierRecord c;
        c.folgenummerKopf = 1;
        c.gruppeInterpretText1 = QStringLiteral("Abba");
        c.text2 = QStringLiteral("Gold");
        c.artDerSchallplatte = 1;
        c.nummerierung = 17;
        records::insert(db, c);
        const char* titles[] = {"Waterloo", "Fernando", "Chiquitita"};
        for (int i = 0; i < 3; ++i) {
            SongRecord s;
            s.folgenummerPosition = 1;
            s.seiteDerSchallplatte = 1;
            s.nrDesLiedes = i + 1;
            s.titelDesLiedes = QString::fromUtf8(titles[i]);
            s.interpretDesLiedes = QStringLiteral("Abba");
            s.laufzeitDesLiedes = 3.05 + i;
            records::insert(db, s);
        }
        c.folgenummerKopf = 2;
        c.gruppeInterpretText1 = QStringLiteral("Beatles");
        c.text2 = QStringLiteral("Help");
        c.nummerierung = 18;
        records::insert(db, c);
    }

    void reports_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("pages");
        QTest::newRow("carrier") << QStringList{"carrier", "#1"}
                                 << QStringList{"Abba", "Gold", "Waterloo", "5.05"} << 1;
        QTest::newRow("carrier by template number")
            << QStringList{"carrier", "lp:17", "--template", "2"}
            << QStringList{"Abba - Gold", "Chiquitita"} << 1;
        QTest::newRow("all") << QStringList{"all"} << QStringList{"Abba", "Beatles"} << 2;
        QTest::newRow("all without page feed")
            << QStringList{"all", "--no-page-feed"} << QStringList{"Abba", "Beatles"} << 1;
        QTest::newRow("cover") << QStringList{"cover", "#1", "--type", "single"}
                               << QStringList{"Nr.: 17", "Seite 1", "Fernando", "4.05"} << 1;
    }
    void reports() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, expected);
        QFETCH(int, pages);
        const QString pdf = m_dir.filePath(QStringLiteral("bericht.pdf"));
        QFile::remove(pdf);
        const ProcessRun run = runTool(QStringList{QStringLiteral("print"), m_data} + args +
                                       QStringList{QStringLiteral("--pdf"), pdf});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.out.trimmed(),
                 QStringLiteral("%1 Seite(n) geschrieben: %2").arg(pages).arg(pdf));
        const QString text = pdfText(pdf).simplified();
        for (const QString& part : expected)
            QVERIFY2(text.contains(part), qPrintable(part + QStringLiteral(" fehlt in: ") + text));
    }

    void failures_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("carrier unknown")
            << QStringList{"carrier", "#99"} << 1 << "Kein Tonträger zu \"#99\" gefunden.";
        QTest::newRow("carrier key malformed") << QStringList{"carrier", "17"} << 1 << "ART:NUMMER";
        QTest::newRow("unknown template")
            << QStringList{"carrier", "#1", "--template", "Fehlt"} << 1 << "Fehlt";
        QTest::newRow("unknown media type")
            << QStringList{"cover", "#1", "--type", "XY"} << 1 << "XY";
        QTest::newRow("extra argument") << QStringList{"all", "zuviel"} << 2 << "Aufruf";
    }
    void failures() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString pdf = m_dir.filePath(QStringLiteral("fehler.pdf"));
        const ProcessRun run = runTool(QStringList{QStringLiteral("print"), m_data} + args +
                                       QStringList{QStringLiteral("--pdf"), pdf});
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(!QFile::exists(pdf));
    }

    void templateExchange() {
        const QString file = m_dir.filePath(QStringLiteral("vorlage"));
        ProcessRun run = runTool({QStringLiteral("template"), QStringLiteral("export"), m_data,
                                  QStringLiteral("Tonträger mit Interpreten"), file});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(QFile::exists(file + QStringLiteral(".DKMT")));

        run = runTool({QStringLiteral("template"), QStringLiteral("import"), m_data,
                       file + QStringLiteral(".DKMT"), QStringLiteral("--type"),
                       QStringLiteral("4")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        run = runTool({QStringLiteral("template"), QStringLiteral("list"), m_data,
                       QStringLiteral("--type"), QStringLiteral("4")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(QStringLiteral("Tonträger mit Interpreten")),
                 qPrintable(run.out));

        // A refused file stores nothing.
        QFile bad(m_dir.filePath(QStringLiteral("kaputt.DKMT")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("[Template]\r\nTitle=Neu\r\nMargin=500\r\n");
        bad.close();
        run = runTool({QStringLiteral("template"), QStringLiteral("import"), m_data, bad.fileName(),
                       QStringLiteral("--type"), QStringLiteral("4")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("Seitenrand")));
        run = runTool({QStringLiteral("template"), QStringLiteral("list"), m_data,
                       QStringLiteral("--type"), QStringLiteral("4")});
        QVERIFY(!run.out.contains(QStringLiteral("Neu")));
    }
};

QTEST_GUILESS_MAIN(TestPrintReports)
#include "tst_printreports.moc"
