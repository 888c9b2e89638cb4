// diskarium-tool import-discogs and export-discogs, run as the user runs them.
#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "support/lockholderprocess.h"
#include "support/processrun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kCollection =
    "Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,CollectionFolder,"
    "Date Added,Collection Media Condition,Collection Sleeve Condition,Collection Notes\r\n"
    "POLS 272,Abba,Arrival,Polar,\"LP, Album\",5,1976,1001,Uncategorized,,Mint (M),,\r\n"
    "1,Nena (2),\"99 Luftballons\",CBS,\"7\"\", Single\",,1983,1002,,,,,\"eins\r\nzwei\"\r\n"
    "2,Die Ärzte,Debil,Rot,Box Set,,1984,1003,,,,,\r\n"
    "POLS 272,Abba,Arrival,Polar,LP,,1976,1001,,,,,\r\n";

QByteArray hashOf(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestDiscogsTool : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_sets = 0;

    QString freshDataSet() {
        const QString dir = m_dir.filePath(QStringLiteral("daten%1").arg(++m_sets));
        QDir().mkpath(dir);
        dataset::create(dir);
        return dir;
    }
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        return path;
    }

private slots:
    void dryRunThenImport() {
        const QString data = freshDataSet();
        const QString csv = file(QStringLiteral("sammlung.csv"), kCollection);
        const QByteArray before = hashOf(dataset::databasePath(data));
        ProcessRun r = runTool({"import-discogs", data, csv, "--dry-run"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QStringLiteral("2\tneu\tAbba\tArrival\tLP\t\n"
                                       "3\tneu\tNena\t99 Luftballons\tSingle\t\n"
                                       "5\tArt unbekannt\tDie Ärzte\tDebil\tBox Set\t\n"
                                       "6\tneu\tAbba\tArrival\tLP\t\n"
                                       "Neu: 3, vorhanden: 0, Art unbekannt: 1, Fehler: 0\n"));
        QCOMPARE(hashOf(dataset::databasePath(data)), before);
        QVERIFY(!QFile::exists(data + QStringLiteral("/WinDsKm.lck")));

        r = runTool({"import-discogs", data, csv});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QStringLiteral("2\tübernommen\tAbba\tArrival\tLP\tNr. 1\n"
                                       "3\tübernommen\tNena\t99 Luftballons\tSingle\tNr. 2\n"
                                       "5\tArt unbekannt\tDie Ärzte\tDebil\tBox Set\t\n"
                                       "6\tübernommen\tAbba\tArrival\tLP\tNr. 3\n"
                                       "Neu: 3, vorhanden: 0, Art unbekannt: 1, Fehler: 0\n"));

        // Now everything is there; group and title alone may be taken again, a release never.
        r = runTool({"import-discogs", data, csv, "--dry-run", "--allow-duplicate"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.startsWith(QStringLiteral("2\tvorhanden\tAbba\tArrival\tLP\t"
                                                 "wie Nr. 1 (Discogs)\n")),
                 qPrintable(r.out));
        QVERIFY(
            r.out.endsWith(QStringLiteral("Neu: 0, vorhanden: 3, Art unbekannt: 1, Fehler: 0\n")));

        r = runTool({"show", data, "2"});
        QVERIFY2(r.out.contains(QStringLiteral("Kennung discogs:release: 1002")),
                 qPrintable(r.out));
    }

    void globalNumberMovesOn() {
        const QString data = freshDataSet();
        file(QStringLiteral("daten%1/WinDsKm.InI").arg(m_sets),
             "[Application]\r\nGlobal Numbering=1\r\nGlobal Number=7\r\n");
        const ProcessRun r =
            runTool({"import-discogs", data, file(QStringLiteral("g.csv"), kCollection)});
        QCOMPARE(r.exitCode, 0);
        QFile ini(data + QStringLiteral("/WinDsKm.InI"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY2(ini.readAll().contains("Global Number=10"), "three carriers stored");
    }

    void failures_data() {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");
        const QByteArray badRating = QByteArray(kCollection).replace(",5,1976,", ",x,1976,");
        QTest::newRow("bad rating") << QStringList() << badRating << 1
                                    << "Fehler: Zeile 2: Die Bewertung „x“ ist keine ganze Zahl "
                                       "von 0 bis 5.\n";
        QTest::newRow("bad rating, dry run") << QStringList{"--dry-run"} << badRating << 1
                                             << "Fehler: Zeile 2: Die Bewertung „x“ ist keine "
                                                "ganze Zahl von 0 bis 5.\n";
        QTest::newRow("no Discogs file") << QStringList() << QByteArray("Artist,Title\r\n") << 1
                                         << "Fehler: Die Datei ist keine Discogs-Sammlung: "
                                            "Spalte „Format“ fehlt.\n";
        QTest::newRow("unknown option") << QStringList{"--force"} << kCollection << 2 << "";
    }
    void failures() {
        QFETCH(QStringList, extra);
        QFETCH(QByteArray, bytes);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        const QString data = freshDataSet();
        const QByteArray before = hashOf(dataset::databasePath(data));
        const ProcessRun r = runTool(
            QStringList{"import-discogs", data, file(QStringLiteral("f.csv"), bytes)} + extra);
        QCOMPARE(r.exitCode, exitCode);
        if (!error.isEmpty())
            QCOMPARE(r.err, error);
        QCOMPARE(hashOf(dataset::databasePath(data)), before);
    }

    void importRefusedWhileTheProgramRuns() {
        const QString data = freshDataSet();
        LockHolderProcess holder(data);
        QVERIFY(holder.holds());
        const ProcessRun r =
            runTool({"import-discogs", data, file(QStringLiteral("l.csv"), kCollection)});
        QCOMPARE(r.exitCode, 1);
        holder.release();
        Database db;
        db.open(dataset::databasePath(data));
        QCOMPARE(records::count(db, schema::table(u"MUSIKKOP")), 0);
    }

    void exportToFile() {
        const QString data = freshDataSet();
        QCOMPARE(
            runTool({"import-discogs", data, file(QStringLiteral("e.csv"), kCollection)}).exitCode,
            0);
        const QString out = m_dir.filePath(QStringLiteral("export.csv"));
        ProcessRun r = runTool({"export-discogs", data, out});
        QCOMPARE(r.exitCode, 0);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        f.close();
        QVERIFY(bytes.startsWith("Catalog#,Artist,"));
        QVERIFY(bytes.contains("\r\n1,Nena,99 Luftballons,CBS,\"7\"\", Single\",,1983,1002,"
                               "Uncategorized,,,,\"eins\nzwei\"\r\n"));

        r = runTool({"export-discogs", data, out});
        QCOMPARE(r.exitCode, 1); // an existing file only with --overwrite
        QVERIFY2(r.err.contains(QStringLiteral("--overwrite")), qPrintable(r.err));
        QCOMPARE(runTool({"export-discogs", data, out, "--overwrite"}).exitCode, 0);
        QCOMPARE(runTool({"export-discogs", data}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestDiscogsTool)
#include "tst_discogstool.moc"
