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

    // A name (or number) that fits templates of several types is refused without --type,
    // with the types, and no file is written; --type picks one.
    void templateExportAmbiguous_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("type");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("name in two types") << "Zweimal" << QStringList() << 1 << "Typ 1: ";
        QTest::newRow("number in every type") << "1" << QStringList() << 1 << "Typ 4: 1";
        QTest::newRow("type given") << "Zweimal" << QStringList{"--type", "1"} << 0 << "";
        QTest::newRow("unknown name") << "Keinmal" << QStringList() << 1 << "gibt es nicht";
    }
    void templateExportAmbiguous() {
        QFETCH(QString, name);
        QFETCH(QStringList, type);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("daten"));
        dataset::create(data);
        {
            Database db;
            db.open(dataset::databasePath(data));
            for (int t : {1, 2}) {
                PrintTemplateRecord r;
                r.type = t;
                r.indexNummer = 10;
                r.bezeichnung = QStringLiteral("Zweimal");
                r.kopfText = QStringLiteral("Kopf");
                r.seitenText = QStringLiteral("Seite");
                r.fussText = QStringLiteral("Fuss");
                records::insert(db, r);
            }
        }
        const QString file = dir.filePath(QStringLiteral("vorlage.DKMT"));
        const ProcessRun run = runTool(
            QStringList{QStringLiteral("template"), QStringLiteral("export"), data, name, file} +
            type);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(QFile::exists(file), exitCode == 0);
        if (exitCode == 1 && name == QLatin1String("Zweimal"))
            QVERIFY2(run.err.contains(QStringLiteral("Typ 2: 10")), qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(TestPrintReports)
#include "tst_printreports.moc"
