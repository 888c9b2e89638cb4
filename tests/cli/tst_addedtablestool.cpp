#include "core/db/dataset.h"
#include "core/db/startupchecks.h"
#include "support/paradoxwriter.h"
#include "support/processrun.h"

#include <QTemporaryDir>
#include <QTest>

// A data set of an earlier version, without the tables this one added, comes out of the
// tool's check, restore and Paradox import complete, and none of them mentions it.
class TestAddedTablesTool : public QObject {
    Q_OBJECT

    static std::optional<int> fields(const QString& directory, const char* table) {
        Database db;
        db.open(dataset::databasePath(directory));
        return startupchecks::fieldCount(db, QString::fromLatin1(table));
    }

    // As an earlier version left it: no origins table, no index for the owned-already check.
    static void makeEarlier(const QString& directory) {
        dataset::create(directory);
        Database db;
        db.open(dataset::databasePath(directory));
        db.exec(u"DROP TABLE \"MUSIKEXT\"; DROP INDEX \"MUSIKKOP.Gruppe und Titel\"");
    }

private slots:
    void completedSilently_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("check") << "check";
        QTest::newRow("restore") << "restore";
        QTest::newRow("import-paradox") << "import-paradox";
    }
    void completedSilently() {
        QFETCH(QString, command);
        QTemporaryDir dir;
        const QString earlier = dir.filePath(QStringLiteral("alt"));
        const QString data = dir.filePath(QStringLiteral("daten"));
        QStringList args{command};
        if (command == QLatin1String("check")) {
            makeEarlier(data);
            args << data;
        } else if (command == QLatin1String("restore")) {
            makeEarlier(earlier);
            const QString archive = dir.filePath(QStringLiteral("sicherung.dsk"));
            const ProcessRun backup = runTool({"backup", earlier, archive});
            QVERIFY2(backup.exitCode == 0, qPrintable(backup.err));
            QCOMPARE(fields(earlier, "MUSIKEXT"), std::nullopt); // the archive holds none
            args << archive << data;
        } else {
            QDir().mkpath(earlier);
            QVERIFY(paradoxwriter::writeDataSet(earlier, {}));
            args << earlier << data;
        }
        const ProcessRun run = runTool(args);
        QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
        QVERIFY2(!(run.out + run.err).contains(QLatin1String("MUSIKEXT")),
                 qPrintable(run.out + run.err));
        QCOMPARE(fields(data, "MUSIKEXT"), 3);
    }
};

QTEST_GUILESS_MAIN(TestAddedTablesTool)
#include "tst_addedtablestool.moc"
