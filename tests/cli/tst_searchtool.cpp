// diskarium-tool search, run as the user runs it: output, --count and exit codes.
#include "../core/catalogue/searchfixture.h"
#include "core/db/dataset.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestSearchTool : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_data;

    struct Run {
        int code;
        QString out;
        QString err;
    };
    Run tool(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(TOOL_PATH), QStringList{"search", m_data} + args);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
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
        const Run r = tool({"carriers", "gruppe:~:BEAT", "UND", "Kaufpreis:>:5"});
        QCOMPARE(r.code, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith(QStringLiteral("Tonträgernummer\tGruppe\tTitel\tArt\t")));
        QVERIFY2(lines[1].startsWith(QStringLiteral("1\tThe Beatles\tHelp!\tLP\t5\t14\t34,20\t")),
                 qPrintable(lines[1]));
    }

    void songs() {
        const Run r = tool({"songs", "Titel:~:love", "ODER", "Interpret:=:Ärzte"});
        QCOMPARE(r.code, 0);
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
        const Run r = tool(args);
        QCOMPARE(r.code, code);
        QCOMPARE(r.out, out);
        QVERIFY2(r.err.contains(err), qPrintable(r.err));
    }

    // CSV: the same hits under the list's titles, without the carrier number column; no hit
    // still gives the title row.
    void csvOutput() {
        const Run tabs = tool({"songs", "Nr. des Liedes:=:1"});
        const Run csv = tool({"songs", "--csv", "Nr. des Liedes:=:1"});
        QCOMPARE(csv.code, 0);
        QString expected; // reading as UTF-8 drops the byte order mark
        for (const QString& line : tabs.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            expected += line.section(QLatin1Char('\t'), 1).replace(QLatin1Char('\t'), u';') +
                        QStringLiteral("\r\n");
        QCOMPARE(csv.out, expected);
        const Run none = tool({"carriers", "--csv", "Gruppe:=:x"});
        QCOMPARE(none.code, 0);
        QVERIFY2(none.out.startsWith(QStringLiteral("Gruppe;Titel;")), qPrintable(none.out));
        QCOMPARE(none.out.count(QStringLiteral("\r\n")), 1);
    }

    void missingDataSet() {
        QProcess p;
        p.start(QStringLiteral(TOOL_PATH),
                {"search", m_dir.filePath(QStringLiteral("leer")), "songs", "Titel:~:x"});
        p.waitForFinished(60000);
        QCOMPARE(p.exitCode(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSearchTool)
#include "tst_searchtool.moc"
