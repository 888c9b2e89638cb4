#include "core/catalogue/carrierstore.h"
#include "core/db/dataset.h"
#include "core/db/schema.h"
#include "support/paradoxwriter.h"
#include "support/processrun.h"

#include <QTemporaryDir>
#include <QTest>

// diskarium-tool import-paradox, run as the user runs it.
class TestParadoxTool : public QObject {
    Q_OBJECT

private slots:
    void importParadox_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("into a new directory")
            << "" << QStringList() << 0 << "Tonträger                    1           1";
        QTest::newRow("present carriers kept") << "carrier" << QStringList() << 1 << "--yes";
        QTest::newRow("present carriers replaced")
            << "carrier" << QStringList{"--yes"} << 0 << "Die Übernahme war erfolgreich.";
        QTest::newRow("missing table") << "missing" << QStringList() << 1
                                       << "Die Datendatei MUSIKTXT.DB konnte nicht gefunden werden";
        QTest::newRow("old layout declined") << "old" << QStringList() << 1 << "abgebrochen";
        QTest::newRow("old layout converted") << "old" << QStringList{"--yes"} << 0 << "Tonträger";
        QTest::newRow("unknown option") << "" << QStringList{"--ja"} << 2 << "Aufruf";
    }

    void importParadox() {
        QFETCH(QString, setup);
        QFETCH(QStringList, extra);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("quelle"));
        const QString data = dir.filePath(QStringLiteral("daten"));
        QDir().mkpath(source);
        const std::vector<QVariantList> carrier{{QStringLiteral("Gruppe"), QStringLiteral("Titel"),
                                                 1.0, 1.0, 1.0, QStringLiteral("1980")}};
        QVERIFY(paradoxwriter::writeDataSet(source, {{QStringLiteral("MUSIKKOP"), carrier}}));
        if (setup == QLatin1String("missing"))
            QFile::remove(source + QStringLiteral("/MUSIKTXT.DB"));
        if (setup == QLatin1String("old"))
            QVERIFY(paradoxwriter::writeTable(
                source, paradoxwriter::schemaLayout(schema::table(u"MUSIKKOP"), 1252, 12), carrier,
                nullptr));
        if (setup == QLatin1String("carrier")) {
            dataset::create(data);
            Database db;
            db.open(dataset::databasePath(data));
            db.exec(u"INSERT INTO MUSIKKOP (\"Gruppe/Interpret/Text 1\", \"Text 2\", "
                    u"\"Art der Schallplatte\", \"Nummerierung\", \"Folgenummer Kopf\") "
                    u"VALUES ('Alt', 'Alt', 1, 1, 1)");
        }
        const ProcessRun run =
            runTool(QStringList{QStringLiteral("import-paradox"), source, data} + extra);
        QVERIFY2(run.exitCode == exitCode, qPrintable(run.out + run.err));
        QVERIFY2((run.out + run.err).contains(expected), qPrintable(run.out + run.err));
        if (setup == QLatin1String("carrier")) {
            Database db;
            db.open(dataset::databasePath(data));
            QCOMPARE(db.scalar(u"SELECT \"Gruppe/Interpret/Text 1\" FROM MUSIKKOP").toString(),
                     exitCode == 0 ? QStringLiteral("Gruppe") : QStringLiteral("Alt"));
        }
    }
};

QTEST_GUILESS_MAIN(TestParadoxTool)
#include "tst_paradoxtool.moc"
