#include "core/db/database.h"
#include "core/db/dataset.h"
#include "support/processrun.h"

#include <QTemporaryDir>
#include <QTest>

// diskarium-tool lookup, convert and print lookup, run as the user runs them.
class TestLookupTool : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString dataDirectory() const { return m_dir.filePath(QStringLiteral("daten")); }

private slots:
    void initTestCase() {
        dataset::create(dataDirectory());
        Database db;
        db.open(dataset::databasePath(dataDirectory()));
        db.exec(u"INSERT INTO \"MUSIKKOP\" (\"Folgenummer Kopf\", \"Art der Schallplatte\", "
                u"\"Nummerierung\", \"Status\") VALUES (1, 1, 1, 2)");
    }

    void listsStatesWithTheirUse() {
        const ProcessRun run =
            runTool({QStringLiteral("lookup"), dataDirectory(), QStringLiteral("musiksta")});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.first(),
                 QStringLiteral("-1\tVerliehen\tDer Tonträger ist verliehen\treserviert"));
        QCOMPARE(lines[1], QStringLiteral("1\tVorhanden\tIm Bestand\tfrei"));
        QCOMPARE(lines[2], QStringLiteral("2\tGesucht\tWird gesucht\tin Verwendung"));
        QVERIFY(lines.last().startsWith(QStringLiteral("Nächste Nummer: ")));
    }

    void listsCurrenciesWithFactors() {
        const ProcessRun run =
            runTool({QStringLiteral("lookup"), dataDirectory(), QStringLiteral("Currency")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(
            run.out.contains(QStringLiteral("2\tDEM\tDeutsche Mark\t1,95583\tin Verwendung\n")));
    }

    void convert_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::newRow("old currency by date")
            << QStringList{QStringLiteral("100"), QStringLiteral("--date"),
                           QStringLiteral("31.12.2001")}
            << 0 << "51,13 EUR\n";
        QTest::newRow("new currency by date")
            << QStringList{QStringLiteral("100"), QStringLiteral("--date"),
                           QStringLiteral("01.01.2002")}
            << 0 << "100,00 EUR\n";
        QTest::newRow("recorded currency")
            << QStringList{QStringLiteral("100"), QStringLiteral("--currency"), QStringLiteral("2")}
            << 0 << "51,13 EUR\n";
        QTest::newRow("no price") << QStringList{QStringLiteral("zehn")} << 2 << "";
        QTest::newRow("bad date") << QStringList{QStringLiteral("1"), QStringLiteral("--date"),
                                                 QStringLiteral("gestern")}
                                  << 2 << "";
    }
    void convert() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        const ProcessRun run =
            runTool(QStringList{QStringLiteral("convert"), dataDirectory()} + args);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, output);
    }

    void failures() {
        QCOMPARE(runTool({QStringLiteral("lookup"), dataDirectory(), QStringLiteral("MUSIKKOP")})
                     .exitCode,
                 2);
        QCOMPARE(runTool({QStringLiteral("lookup"), m_dir.filePath(QStringLiteral("leer")),
                          QStringLiteral("1")})
                     .exitCode,
                 1);
    }

    void printsTheListToPdf() {
        const QString pdf = m_dir.filePath(QStringLiteral("status.pdf"));
        const ProcessRun run =
            runTool({QStringLiteral("print"), dataDirectory(), QStringLiteral("lookup"),
                     QStringLiteral("MUSIKSTA.DB"), QStringLiteral("--pdf"), pdf});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("1 Seite(n) geschrieben: ") + pdf + QLatin1Char('\n'));
        QVERIFY(pdfText(pdf).contains(QStringLiteral("WinDsKm - Statusarten")));
        const QString missing = m_dir.filePath(QStringLiteral("nie.pdf"));
        QCOMPARE(runTool({QStringLiteral("print"), dataDirectory(), QStringLiteral("lookup"),
                          QStringLiteral("9"), QStringLiteral("--pdf"), missing})
                     .exitCode,
                 1);
        QVERIFY(!QFile::exists(missing));
    }
};

QTEST_GUILESS_MAIN(TestLookupTool)
#include "tst_lookuptool.moc"
