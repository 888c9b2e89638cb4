// diskarium-tool search, run as the user runs it: output, --count and exit codes.
#include "../core/catalogue/searchfixture.h"
#include "core/db/dataset.h"
#include "support/processrun.h"

#include <QTemporaryDir>
#include <QTest>

class TestSearchTool : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_data;

    ProcessRun search(const QStringList& args) {
        return runTool(QStringList{QStringLiteral("search"), m_data} + args);
    }

private slots:
    void initTestCase() {
        m_data = m_dir.filePath(QStringLiteral("daten"));
        dataset::create(m_data);
        Database db;
        db.open(dataset::databasePath(m_data));
        searchfixture::fill(db);
    }

    void carriers() {
        const ProcessRun r = search({"carriers", "gruppe:~:BEAT", "UND", "Kaufpreis:>:5"});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith(QStringLiteral("Tonträgernummer\tGruppe\tTitel\tArt\t")));
        QVERIFY2(lines[1].startsWith(QStringLiteral("1\tThe Beatles\tHelp!\tLP\t5\t14\t34,20\t")),
                 qPrintable(lines[1]));
    }

    void songs() {
        const ProcessRun r = search({"songs", "Titel:~:love", "ODER", "Interpret:=:Ärzte"});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines[0].startsWith(QStringLiteral("Tonträgernummer\tSeite der Schallplatte\t")));
        // Default order: group, so BEAT CLUB before Die Ärzte before The Beatles.
        QVERIFY2(lines[1].startsWith(QStringLiteral("2\t1\t1\tLovely\tBeat\t3,00\tPop\t")),
                 qPrintable(lines[1]));
        QVERIFY(lines[2].startsWith(QStringLiteral("3\t1\t1\tMänner\t")));
        QVERIFY(lines[4].endsWith(QStringLiteral("\tThe Beatles\tHelp!\tLP\t5")));
    }

    void exitCodes_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("count") << QStringList{"songs", "--count", "Nr. des Liedes:=:1"} << 0
                               << "3\n"
                               << "";
        QTest::newRow("song time as minutes:seconds")
            << QStringList{"songs", "--count", "Laufzeit:=:3:00"} << 0 << "1\n"
            << "";
        QTest::newRow("total time seconds over 59")
            << QStringList{"carriers", "Gesamtlaufzeit:>:3:75"} << 2 << ""
            << "Gesamtlaufzeit: Der Sekundenwert der Gesamtlaufzeit";
        QTest::newRow("price with colon") << QStringList{"carriers", "Kaufpreis:=:3:45"} << 2 << ""
                                          << "keine Zahl";
        QTest::newRow("side as letter")
            << QStringList{"songs", "--count", "Seite der Schallplatte:=:a"} << 0 << "4\n"
            << "";
        QTest::newRow("nothing found") << QStringList{"carriers", "Gruppe:=:nobody"} << 1 << ""
                                       << "Es wurden keine Daten gefunden!";
        QTest::newRow("count of nothing")
            << QStringList{"carriers", "--count", "Gruppe:=:x"} << 1 << "0\n"
            << "Es wurden keine Daten gefunden!";
        QTest::newRow("unknown field") << QStringList{"songs", "Farbe:=:rot"} << 2 << ""
                                       << "Gültige Felder: Titel, Interpret, Laufzeit";
        QTest::newRow("bad date") << QStringList{"carriers", "Kaufdatum:=:31.02.2001"} << 2 << ""
                                  << "kein gültiges Datum";
        QTest::newRow("bad kind") << QStringList{"borrowers", "Name:=:x"} << 2 << ""
                                  << "Aufruf";
        QTest::newRow("no condition") << QStringList{"songs"} << 2 << ""
                                      << "Aufruf";
        QTest::newRow("count and csv")
            << QStringList{"carriers", "--count", "--csv", "Gruppe:=:x"} << 2 << ""
            << "Aufruf";
    }
    void exitCodes() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const ProcessRun r = search(args);
        QCOMPARE(r.exitCode, code);
        QCOMPARE(r.out, out);
        QVERIFY2(r.err.contains(err), qPrintable(r.err));
    }

    // CSV: the same hits under the list's titles, without the carrier number column; no hit
    // still gives the title row.
    void csvOutput() {
        const ProcessRun tabs = search({"songs", "Nr. des Liedes:=:1"});
        const ProcessRun csv = search({"songs", "--csv", "Nr. des Liedes:=:1"});
        QCOMPARE(csv.exitCode, 0);
        QString expected; // reading as UTF-8 drops the byte order mark
        for (const QString& line : tabs.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            expected += line.section(QLatin1Char('\t'), 1).replace(QLatin1Char('\t'), u';') +
                        QStringLiteral("\r\n");
        QCOMPARE(csv.out, expected);
        const ProcessRun none = search({"carriers", "--csv", "Gruppe:=:x"});
        QCOMPARE(none.exitCode, 0);
        QVERIFY2(none.out.startsWith(QStringLiteral("Gruppe;Titel;")), qPrintable(none.out));
        QCOMPARE(none.out.count(QStringLiteral("\r\n")), 1);
    }

    void missingDataSet() {
        QCOMPARE(runTool({"search", m_dir.filePath(QStringLiteral("leer")), "songs", "Titel:~:x"})
                     .exitCode,
                 2);
    }
};

QTEST_GUILESS_MAIN(TestSearchTool)
#include "tst_searchtool.moc"
