#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "support/processrun.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// diskarium-tool statistics, print statistics and print list, end to end: the table as
// text, the settings file of the data directory, the PDF and the exit codes.
class TestStatisticsTool : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_data;

private slots:
    // The delivered data set with three carriers: two LPs (45.30 and 12.45, one bought in
    // DM before the changeover) and one carrier of a media type without a row. 150 years
    // make the year statistics three pages long.
    void initTestCase() {
        m_data = m_dir.filePath(QStringLiteral("daten"));
        dataset::create(m_data);
        Database db;
        db.open(dataset::databasePath(m_data));
        const int lp = db.scalar(u"SELECT \"Index-Nummer\" FROM \"MUSIKART\" "
                                 u"WHERE \"Kurzbezeichnung\" = 'LP'")
                           .toInt();
        struct {
            int type;
            double time, price;
            QDate bought;
            const char* year;
            const char* title;
        } rows[] = {{lp, 45.30, 19.56, QDate(2001, 5, 1), "1999", "Waterloo"},
                    {lp, 12.45, 10, QDate(2002, 1, 1), "1980", "Yesterday"},
                    {999, 1.00, 1, QDate(2003, 1, 1), "", "Unbekannt"}};
        int number = 1;
        Transaction t(db);
        for (const auto& r : rows) {
            CarrierRecord c;
            c.folgenummerKopf = number;
            c.nummerierung = number++;
            c.gruppeInterpretText1 = QStringLiteral("Gruppe");
            c.artDerSchallplatte = r.type;
            c.laufzeitDerSchallplatte = r.time;
            c.kaufpreis = r.price;
            c.kaufdatum = r.bought;
            c.anzahlDerLieder = 12;
            c.erscheinungsjahr = QString::fromLatin1(r.year);
            c.text2 = QString::fromLatin1(r.title);
            records::insert(db, c);
        }
        for (int year = 1800; year < 1950; ++year) {
            CarrierRecord c;
            c.folgenummerKopf = number;
            c.nummerierung = number++;
            c.artDerSchallplatte = 999;
            c.erscheinungsjahr = QString::number(year);
            records::insert(db, c);
        }
        t.commit();
    }

    void table() {
        const ProcessRun run = runTool({QStringLiteral("statistics"), m_data, QStringLiteral("1")});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.first(), QStringLiteral("Bezeichnung\tAnzahl\tZeit\tWert\tAnzahl Lieder"));
        QVERIFY(lines.contains(QStringLiteral("LP\t2\t58,15\t20,00 EUR\t24")));
        QVERIFY(lines.contains(QStringLiteral("CD\t0\t0,00\t0,00 EUR\t0")));
        QCOMPARE(lines.at(lines.size() - 2),
                 QStringLiteral("(nicht zugeordnet)\t151\t1,00\t1,00 EUR\t12"));
        QCOMPARE(lines.last(), QStringLiteral("Gesamt\t153\t59,15\t21,00 EUR\t36"));
    }

    // --csv: the same rows, for spreadsheets.
    void csvTable() {
        const ProcessRun tabs =
            runTool({QStringLiteral("statistics"), m_data, QStringLiteral("1")});
        const ProcessRun csv = runTool(
            {QStringLiteral("statistics"), m_data, QStringLiteral("1"), QStringLiteral("--csv")});
        QCOMPARE(csv.exitCode, 0);
        QString expected; // reading as UTF-8 drops the byte order mark
        for (const QString& line : tabs.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            expected += QString(line).replace(QLatin1Char('\t'), u';') + QStringLiteral("\r\n");
        QCOMPARE(csv.out, expected);
    }

    // The settings file of the data directory decides the currencies.
    void settingsFile() {
        QTemporaryDir copy;
        QVERIFY(QFile::copy(dataset::databasePath(m_data), dataset::databasePath(copy.path())));
        QFile ini(copy.filePath(QStringLiteral("WinDsKm.InI")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Currency]\r\nNew=2\r\nOld=1\r\n");
        ini.close();
        const ProcessRun run =
            runTool({QStringLiteral("statistics"), copy.path(), QStringLiteral("1")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(QStringLiteral("LP\t2\t58,15\t24,67 DEM\t24")),
                 qPrintable(run.out));
    }

    void badArguments_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("kind 0") << QStringList{"statistics", "DIR", "0"};
        QTest::newRow("kind 5") << QStringList{"statistics", "DIR", "5"};
        QTest::newRow("no kind") << QStringList{"statistics", "DIR"};
        QTest::newRow("print kind x")
            << QStringList{"print", "DIR", "statistics", "x", "--pdf", "OUT"};
    }
    void badArguments() {
        QFETCH(QStringList, args);
        const QString pdf = m_dir.filePath(QStringLiteral("bad.pdf"));
        args.replaceInStrings(QStringLiteral("DIR"), m_data);
        args.replaceInStrings(QStringLiteral("OUT"), pdf);
        const ProcessRun run = runTool(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains(QStringLiteral("Aufruf")));
        QVERIFY(!QFile::exists(pdf));
    }

    // Every page starts with the header line and the column titles.
    void printedOnEveryPage() {
        const QString pdf = m_dir.filePath(QStringLiteral("jahre.pdf"));
        const ProcessRun run =
            runTool({QStringLiteral("print"), m_data, QStringLiteral("statistics"),
                     QStringLiteral("4"), QStringLiteral("--pdf"), pdf});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith(QStringLiteral("3 Seite(n)")));
        const QStringList pages = pdfText(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QCOMPARE(pages.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const QString page = pages[i];
            QVERIFY(page.contains(
                QRegularExpression(QStringLiteral("WinDsKm - Erscheinungsdatum-Statistik +per"))));
            QVERIFY(page.contains(QStringLiteral("Seite %1").arg(i + 1)));
            QVERIFY(page.contains(QRegularExpression(
                QStringLiteral("Bezeichnung +Anzahl +Zeit +Wert +Anzahl Lieder"))));
        }
        QVERIFY(pages[0].contains(QRegularExpression(QStringLiteral("1800 +1 +0,00"))));
        QVERIFY(pages[2].contains(
            QRegularExpression(QStringLiteral("Gesamt +153 +59,15 +21,00 EUR +36"))));
    }

    // The list through "Tonträgerliste mit Kaufpreis": selection, date query and order.
    void list_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("hidden");
        QTest::newRow("all media types") << QStringList{} << QStringList{"Waterloo", "Yesterday"}
                                         << QStringList{"Unbekannt"}; // its type has no row
        QTest::newRow("bought after the day of Waterloo")
            << QStringList{"--bought-after", "01.05.2001"} << QStringList{"Yesterday"}
            << QStringList{"Waterloo"};
        QTest::newRow("by number") << QStringList{"--sort", "number"}
                                   << QStringList{"Waterloo", "Yesterday"} << QStringList{};
        QTest::newRow("a code without carriers")
            << QStringList{"--select", "directions", "--codes", "5"} << QStringList{}
            << QStringList{"Waterloo", "Yesterday"};
    }
    void list() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, hidden);
        const QString pdf = m_dir.filePath(QStringLiteral("liste.pdf"));
        const ProcessRun run =
            runTool(QStringList{QStringLiteral("print"), m_data, QStringLiteral("list")} + args +
                    QStringList{QStringLiteral("--template"),
                                QStringLiteral("Tonträgerliste mit Kaufpreis"),
                                QStringLiteral("--pdf"), pdf});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QString text = pdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("Tonträger mit Kaufpreis")));
        for (const QString& s : shown)
            QVERIFY2(text.contains(s), qPrintable(s));
        for (const QString& s : hidden)
            QVERIFY2(!text.contains(s), qPrintable(s));
    }

    void listRefusals_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("bad order") << QStringList{"--sort", "x"} << 2 << "Aufruf";
        QTest::newRow("bad date") << QStringList{"--bought-after", "31.02.2001"} << 2 << "Aufruf";
        QTest::newRow("bad kind") << QStringList{"--select", "x"} << 2 << "Aufruf";
        QTest::newRow("nothing selected")
            << QStringList{"--codes", ","} << 1 << "Tonträgerartenliste die zu druckenden";
        QTest::newRow("unknown template")
            << QStringList{"--template", "Gibt es nicht"} << 1 << "Die Druckvorlage";
    }
    void listRefusals() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString pdf = m_dir.filePath(QStringLiteral("nicht.pdf"));
        const ProcessRun run =
            runTool(QStringList{QStringLiteral("print"), m_data, QStringLiteral("list")} + args +
                    QStringList{QStringLiteral("--pdf"), pdf});
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_GUILESS_MAIN(TestStatisticsTool)
#include "tst_statisticstool.moc"
