#include "core/backup/databackup.h"
#include "core/backup/drivecheck.h"
#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/db/startupchecks.h"
#include "core/shell/datadirectorylock.h"
#include "support/filesizelimit.h"
#include "support/lockholderprocess.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtEndian>
#include <atomic>
#include <thread>

class TestDataBackup : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;

    void addCarrier(const QString& name, double key) {
        Database db;
        db.open(dataset::databasePath(m_data));
        CarrierRecord c;
        c.gruppeInterpretText1 = name;
        c.folgenummerKopf = key;
        records::insert(db, c);
    }
    QStringList carriers() {
        Database db;
        db.open(dataset::databasePath(m_data));
        QStringList names;
        for (const auto& c : records::select<CarrierRecord>(db, u"ORDER BY \"Folgenummer Kopf\""))
            names.append(c.gruppeInterpretText1);
        return names;
    }
    void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString backup() {
        TBackupFile b;
        databackup::configure(b);
        const QString archive = m_dir->filePath(QStringLiteral("sicherung.bck"));
        if (!b.backup(databackup::patterns(m_data), archive))
            return {};
        return archive;
    }

    // Songs with titles that hardly compress, so that a backup takes a while.
    void addSongs(int count) {
        Database db;
        db.open(dataset::databasePath(m_data));
        db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                               "WHERE i < %1) INSERT INTO \"MUSIKPOS\" (\"Folgenummer Position\", "
                               "\"Seite der Schallplatte\", \"Nr. des Liedes\", \"Titel des "
                               "Liedes\") SELECT i, 1, 1, hex(randomblob(24)) FROM n")
                    .arg(count));
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_data = m_dir->filePath(QStringLiteral("daten"));
        dataset::create(m_data);
        write(QDir(m_data).filePath(QStringLiteral("WinDsKm.InI")),
              "[Application]\r\nShow Hints=0\r\n");
        write(QDir(m_data).filePath(QStringLiteral("cddbhosts.txt")), "gnudb.gnudb.org 8880\r\n");
        addCarrier(QStringLiteral("Vorher"), 1);
    }

    void defaultNameAndTitle() {
        const QDateTime moment(QDate(2004, 12, 29), QTime(23, 9, 10));
        QCOMPARE(databackup::defaultArchiveName(moment),
                 QStringLiteral("WDsKmBackup-2004-12-29-23-09-10.bck"));
        QCOMPARE(databackup::archiveTitle(moment),
                 QStringLiteral("WDsKmBackup-2004-12-29-23-09-10"));
    }

    void patternsInOrder() {
        QStringList names;
        for (const QString& p : databackup::patterns(QStringLiteral("/daten/")))
            names.append(QFileInfo(p).fileName());
        QCOMPARE(names, QStringList({"cddbhosts.txt", "windskm.ini", "*.yg?", "*.xg?", "*.px",
                                     "*.mb", "*.db"}));
    }

    void programNames_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("program");
        QTest::newRow("database") << "windskm.db"
                                  << "WinDsKm.db";
        QTest::newRow("settings") << "windskm.ini"
                                  << "WinDsKm.InI";
        QTest::newRow("server list") << "cddbhosts.txt"
                                     << "cddbhosts.txt";
    }
    void programNames() {
        QFETCH(QString, stored);
        QFETCH(QString, program);
        QCOMPARE(databackup::programFileName(stored), program);
    }

    void errorTexts_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << "Datei x.db konnte nicht gelesen werden";
        QTest::newRow("2") << 2 << "Datei x.db konnte nicht überschrieben werden";
        QTest::newRow("5") << 5 << "Archivdatei ist ungültig";
        QTest::newRow("8") << 8 << "Datei x.db ist durch ein anderes Programm gesperrt";
        QTest::newRow("other") << 42 << "Unbekannter Fehler";
    }
    void errorTexts() {
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(databackup::errorText(code, QStringLiteral("x.db")), text);
    }

    void driveKinds_data() {
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("fs");
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("removable");
        QTest::addColumn<int>("kind");
        QTest::newRow("no medium") << false << ""
                                   << "" << false << false << int(DriveKind::Unknown);
        QTest::newRow("hard disk") << true << "ext4"
                                   << "/dev/sda2" << false << false << int(DriveKind::Fixed);
        QTest::newRow("usb stick") << true << "vfat"
                                   << "/dev/sdb1" << false << true << int(DriveKind::Removable);
        QTest::newRow("optical") << true << "iso9660"
                                 << "/dev/sr0" << true << true << int(DriveKind::Optical);
        QTest::newRow("written disc") << true << "udf"
                                      << "/dev/sr0" << false << true << int(DriveKind::Optical);
        QTest::newRow("read-only") << true << "ext4"
                                   << "/dev/sdc1" << true << false << int(DriveKind::ReadOnly);
        QTest::newRow("ram disk") << true << "tmpfs"
                                  << "tmpfs" << false << false << int(DriveKind::RamDisk);
        QTest::newRow("network") << true << "nfs4"
                                 << "server:/daten" << false << false << int(DriveKind::Fixed);
    }
    void driveKinds() {
        QFETCH(bool, valid);
        QFETCH(QString, fs);
        QFETCH(QString, device);
        QFETCH(bool, readOnly);
        QFETCH(bool, removable);
        QFETCH(int, kind);
        QCOMPARE(int(classifyDrive(valid, fs, device, readOnly, removable)), kind);
    }

    void roundTripUnderTheProgramsNames() {
        const QString archive = backup();
        QVERIFY(!archive.isEmpty());
        addCarrier(QStringLiteral("Nachher"), 2);
        write(QDir(m_data).filePath(QStringLiteral("WinDsKm.db-wal")), "stale");
        TBackupFile b;
        databackup::configure(b);
        const auto result = databackup::restoreDataDirectory(b, archive, m_data);
        QVERIFY2(result.ok, qPrintable(result.failure));
        QCOMPARE(carriers(), QStringList({"Vorher"}));
        QStringList files = QDir(m_data).entryList(QDir::Files | QDir::Hidden);
        files.sort();
        QVERIFY(files.contains(QStringLiteral("WinDsKm.db")));
        QVERIFY(files.contains(QStringLiteral("WinDsKm.InI")));
        QVERIFY(!files.contains(QStringLiteral("WinDsKm.db-wal")));
        QVERIFY(!files.contains(QStringLiteral("windskm.db")));
        QVERIFY(!QDir(m_data).exists(QStringLiteral(".wiederherstellung")));
    }

    void failedRestoresLeaveTheDataAlone_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("corrupt block") << "block";
        QTest::newRow("cut short") << "truncate";
        QTest::newRow("not an archive") << "text";
        QTest::newRow("no database inside") << "nodb";
        QTest::newRow("broken database inside") << "baddb";
    }
    void failedRestoresLeaveTheDataAlone() {
        QFETCH(QString, damage);
        QString archive;
        if (damage == QLatin1String("nodb") || damage == QLatin1String("baddb")) {
            QTemporaryDir other;
            write(other.filePath(QStringLiteral("windskm.ini")), "[x]\r\n");
            if (damage == QLatin1String("baddb"))
                write(other.filePath(QStringLiteral("WinDsKm.db")), QByteArray(8192, 'x'));
            TBackupFile b;
            databackup::configure(b);
            archive = m_dir->filePath(QStringLiteral("fremd.bck"));
            QVERIFY(b.backup(databackup::patterns(other.path()), archive));
        } else {
            archive = backup();
            QFile f(archive);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QByteArray bytes = f.readAll();
            if (damage == QLatin1String("block"))
                bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x5A);
            else if (damage == QLatin1String("truncate"))
                bytes.truncate(bytes.size() * 2 / 3);
            else
                bytes = "Kein Archiv, nur Text.";
            f.resize(0);
            f.seek(0);
            f.write(bytes);
        }
        addCarrier(QStringLiteral("Nachher"), 2);
        TBackupFile b;
        databackup::configure(b);
        const auto result = databackup::restoreDataDirectory(b, archive, m_data);
        QVERIFY(!result.ok);
        QVERIFY(!result.failure.isEmpty());
        QCOMPARE(carriers(), QStringList({"Vorher", "Nachher"}));
        QVERIFY(!QDir(m_data).exists(QStringLiteral(".wiederherstellung")));
    }

    // The restored files are staged in the data folder first: a full disk stops that, names
    // the cause and leaves the data as it was.
    void fullDiskNamesTheCause() {
        const QString archive = backup();
        QVERIFY(!archive.isEmpty());
        addCarrier(QStringLiteral("Nachher"), 2);
        TBackupFile b;
        databackup::configure(b);
        databackup::RestoreResult result;
        {
            FileSizeLimit limit(2048);
            result = databackup::restoreDataDirectory(b, archive, m_data);
        }
        QVERIFY(!result.ok);
        QVERIFY2(result.failure.contains(QStringLiteral("nicht genug Platz")),
                 qPrintable(result.failure));
        QCOMPARE(carriers(), QStringList({"Vorher", "Nachher"}));
    }

    // Titles of changing length move rows between pages while the backup reads the file.
    void backupWhileAnotherConnectionWrites() {
        addSongs(30000);
        std::atomic<bool> stop = false;
        std::atomic<int> commits = 0;
        std::thread writer([&] {
            Database db;
            db.open(dataset::databasePath(m_data));
            for (int k = 0; !stop; k = (k + 3000) % 30000) {
                // Rows leave their pages and come back longer or shorter: pages are freed,
                // reused and split while the backup reads the file.
                Transaction transaction(db);
                Statement remove = db.prepare(
                    u"DELETE FROM \"MUSIKPOS\" WHERE \"Folgenummer Position\" BETWEEN ?1 AND ?2");
                remove.bind(1, k + 1);
                remove.bind(2, k + 3000);
                remove.next();
                Statement insert = db.prepare(
                    u"WITH RECURSIVE n(i) AS (SELECT ?1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                    u"?2) INSERT INTO \"MUSIKPOS\" (\"Folgenummer Position\", \"Seite der "
                    u"Schallplatte\", \"Nr. des Liedes\", \"Titel des Liedes\") SELECT i, 1, 1, "
                    u"hex(randomblob(abs(random() % 25) + 1)) FROM n");
                insert.bind(1, k + 1);
                insert.bind(2, k + 3000);
                insert.next();
                transaction.commit();
                ++commits;
            }
        });
        TBackupFile b;
        databackup::configure(b);
        int atFirstBlock = -1;
        b.OnProgress = [&](const QString& name, bool&, int) {
            if (name.isEmpty())
                return;
            if (atFirstBlock < 0)
                atFirstBlock = commits;
            QThread::msleep(1); // gives the writer time between the blocks
        };
        const QString archive = m_dir->filePath(QStringLiteral("laufend.bck"));
        const auto result = databackup::backupDataDirectory(b, m_data, archive);
        const int during = commits - atFirstBlock;
        stop = true;
        writer.join();
        QVERIFY2(result.ok, qPrintable(result.failure));
        QVERIFY2(during > 0, "the writer never committed while the backup ran");
        QVERIFY(!QFile::exists(dataset::databasePath(m_data) + QStringLiteral("-sicherung")));

        QTemporaryDir target;
        TBackupFile r;
        databackup::configure(r);
        const auto restored = databackup::restoreDataDirectory(r, archive, target.path());
        QVERIFY2(restored.ok, qPrintable(restored.failure));
        QCOMPARE(databackup::checkDatabaseFile(dataset::databasePath(target.path())), QString());
    }

    void failedVerificationLeavesNoArchive_data() {
        QTest::addColumn<qint64>("maxSize");
        QTest::newRow("one volume") << qint64(0);
        QTest::newRow("several volumes")
            << qint64(TBackupFile::kVolumeMargin + 4 * TBackupFile::kBlockSize);
    }
    void failedVerificationLeavesNoArchive() {
        QFETCH(qint64, maxSize);
        addSongs(5000);
        TBackupFile b;
        databackup::configure(b);
        b.setMaxSize(maxSize);
        b.OnNeedDisk = [](int, bool& cont) { cont = true; };
        const QString archive = m_dir->filePath(QStringLiteral("sicherung.bck"));
        QString checked;
        const auto result =
            databackup::backupDataDirectory(b, m_data, archive, [&](const QString& database) {
                checked = database;
                return QStringLiteral("Seite 7 ist beschädigt");
            });
        QVERIFY(!result.ok);
        QVERIFY(!result.cancelled);
        QCOMPARE(result.failure,
                 QStringLiteral("Die gesicherte Datenbank ist nicht verwendbar: Seite 7 ist "
                                "beschädigt"));
        QVERIFY(!checked.isEmpty());
        QVERIFY(maxSize == 0 || b.volumesWritten() > 1);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList());
        QVERIFY(!QFile::exists(checked)); // the copy is gone as well
        QCOMPARE(carriers(), QStringList({"Vorher"}));
    }

    void damagedDatabaseIsRefusedInOneLine() {
        addSongs(20000);
        QTemporaryDir other;
        const QString copy = other.filePath(QStringLiteral("WinDsKm.db"));
        QVERIFY(QFile::copy(dataset::databasePath(m_data), copy));
        {
            // Pages in the middle of the song table overwritten, as a torn copy leaves them.
            QFile f(copy);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(f.size() / 2);
            f.write(QByteArray(40 * 4096, '\0'));
        }
        TBackupFile b;
        databackup::configure(b);
        const QString archive = m_dir->filePath(QStringLiteral("kaputt.bck"));
        QVERIFY(b.backup(databackup::patterns(other.path()), archive));
        const auto result = databackup::restoreDataDirectory(b, archive, m_data);
        QVERIFY(!result.ok);
        QVERIFY2(!result.failure.contains(QLatin1Char('\n')), qPrintable(result.failure));
        QVERIFY2(result.failure.contains(QRegularExpression(QStringLiteral(
                     "^Die gesicherte Datenbank ist nicht verwendbar: .+ \\(und \\d+ weitere "
                     "Befunde\\)\\]$"))),
                 qPrintable(result.failure));
        QCOMPARE(carriers(), QStringList({"Vorher"}));
    }

    // A file that cannot be swapped in puts back every file already replaced; only when
    // that fails as well does the message say the data changed.
    void swapIsAllOrNothing_data() {
        QTest::addColumn<bool>("moveBackFails");
        QTest::newRow("put back") << false;
        QTest::newRow("cannot put back") << true;
    }
    void swapIsAllOrNothing() {
        QFETCH(bool, moveBackFails);
        const QString archive = backup();
        addCarrier(QStringLiteral("Nachher"), 2);
        const QString ini = QDir(m_data).filePath(QStringLiteral("WinDsKm.InI"));
        write(ini, "[Application]\r\nShow Hints=1\r\n");
        const QString staging = m_dir->filePath(QStringLiteral("stufe"));
        TBackupFile b;
        databackup::configure(b);
        QVERIFY(b.restore(archive, staging));
        int swappedIn = 0;
        const auto rename = [&](const QString& from, const QString& to) {
            if (from.startsWith(staging) && ++swappedIn == 3)
                return false; // the third file of the archive cannot be replaced
            if (moveBackFails && from.contains(QLatin1String("-alt/")))
                return false;
            return QFile::rename(from, to);
        };
        // The staged files under the names the program opens.
        QVERIFY(QFile::rename(QDir(staging).filePath(QStringLiteral("windskm.db")),
                              QDir(staging).filePath(QStringLiteral("WinDsKm.db"))));
        QVERIFY(QFile::rename(QDir(staging).filePath(QStringLiteral("windskm.ini")),
                              QDir(staging).filePath(QStringLiteral("WinDsKm.InI"))));
        QString failure;
        bool changed = false;
        QVERIFY(!databackup::replaceFromStaging(staging, m_data, &failure, &changed, rename));
        QVERIFY(!failure.isEmpty());
        QCOMPARE(changed, moveBackFails);
        if (!moveBackFails) {
            QCOMPARE(carriers(), QStringList({"Vorher", "Nachher"}));
            QFile f(ini);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(f.readAll().contains("Show Hints=1"));
        }
    }

    // A restore killed during its swap left the present files aside: they come back.
    void leftoversOfAKilledRestoreAreCleared() {
        const QDir data(m_data);
        QVERIFY(data.mkpath(QStringLiteral(".wiederherstellung")));
        write(data.filePath(QStringLiteral(".wiederherstellung/WinDsKm.db")), "halb");
        QVERIFY(data.mkpath(QStringLiteral(".wiederherstellung-alt")));
        QVERIFY(
            QFile::rename(data.filePath(QStringLiteral("cddbhosts.txt")),
                          data.filePath(QStringLiteral(".wiederherstellung-alt/cddbhosts.txt"))));
        databackup::clearLeftovers(m_data);
        QVERIFY(!data.exists(QStringLiteral(".wiederherstellung")));
        QVERIFY(!data.exists(QStringLiteral(".wiederherstellung-alt")));
        QVERIFY(data.exists(QStringLiteral("cddbhosts.txt")));
        QCOMPARE(carriers(), QStringList({"Vorher"}));
    }

    void engineTextsGetGermanSentences_data() {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("german");
        QTest::newRow("full") << "database or disk is full"
                              << "Der Datenträger ist voll";
        QTest::newRow("open") << "unable to open database file"
                              << "Die Datenbankdatei kann nicht geöffnet werden";
        QTest::newRow("schema") << "malformed database schema (x)"
                                << "Die Datenbank ist beschädigt";
        QTest::newRow("already German") << "Der Datenträger ist voll (database or disk is full)"
                                        << "Der Datenträger ist voll (database or disk is full)";
        QTest::newRow("archive") << "Invalid archive type"
                                 << "Die Datei ist keine gültige";
        QTest::newRow("read archive") << "Cannot read archive"
                                      << "Die Datensicherung ist unvollständig";
    }
    void engineTextsGetGermanSentences() {
        QFETCH(QString, engine);
        QFETCH(QString, german);
        const QString text = engine.contains(QLatin1String("archive"))
                                 ? databackup::archiveErrorText(engine)
                                 : databackup::databaseErrorText(engine);
        QVERIFY2(text.startsWith(german), qPrintable(text));
    }

    // An archive without checksums (older ones) restores as before, after SQLite's full check.
    void archiveWithoutChecksumsRestores() {
        TBackupFile b;
        databackup::configure(b);
        b.setSaveFileID(false);
        const QString archive = m_dir->filePath(QStringLiteral("alt.bck"));
        QVERIFY(b.backup(databackup::patterns(m_data), archive));
        addCarrier(QStringLiteral("Nachher"), 2);
        const auto result = databackup::restoreDataDirectory(b, archive, m_data);
        QVERIFY2(result.ok, qPrintable(result.failure));
        QVERIFY(!b.checksumsVerified());
        QCOMPARE(carriers(), QStringList({"Vorher"}));
    }

    // The consistent copy of the database goes where the archive goes, not onto the data disk.
    void snapshotIsWrittenBesideTheArchive() {
        const QString target = m_dir->filePath(QStringLiteral("ziel"));
        QVERIFY(QDir().mkpath(target));
        TBackupFile b;
        databackup::configure(b);
        QStringList dataDuring, targetDuring;
        b.OnProgress = [&](const QString& name, bool&, int) {
            if (name.endsWith(QLatin1String("windskm.db"))) {
                dataDuring = QDir(m_data).entryList(QDir::Files | QDir::Hidden);
                targetDuring = QDir(target).entryList(QDir::Files | QDir::Hidden);
            }
        };
        const auto result = databackup::backupDataDirectory(
            b, m_data, QDir(target).filePath(QStringLiteral("s.bck")));
        QVERIFY2(result.ok, qPrintable(result.failure));
        QCOMPARE(dataDuring.size(), 3);
        QCOMPARE(targetDuring.size(), 2);
        QCOMPARE(QDir(target).entryList(QDir::Files | QDir::Hidden), QStringList({"s.bck"}));
    }

    // A hit in the file list's name made it an ordinary file: the checksums were lost, and the
    // list would have landed in the data directory as a file.
    void renamedFileListIsRefused_data() {
        QTest::addColumn<bool>("countRaised");
        QTest::newRow("one file more than counted") << false;
        QTest::newRow("count raised as well") << true;
    }
    void renamedFileListIsRefused() {
        QFETCH(bool, countRaised);
        const QString archive = backup();
        QFile f(archive);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        const qsizetype at = bytes.indexOf("FILE:LIST");
        QVERIFY(at > 0);
        bytes[at + 2] = 'E';
        if (countRaised) {
            const qsizetype count = 4 + qFromLittleEndian<qint32>(bytes.constData()) + 4;
            bytes[count] = char(bytes[count] + 1);
        }
        f.seek(0);
        f.write(bytes);
        f.close();
        addCarrier(QStringLiteral("Nachher"), 2);
        TBackupFile b;
        databackup::configure(b);
        const auto result = databackup::restoreDataDirectory(b, archive, m_data);
        QVERIFY(!result.ok);
        QVERIFY2(result.failure.startsWith(QStringLiteral("Die Sicherung ist beschädigt")),
                 qPrintable(result.failure));
        QCOMPARE(carriers(), QStringList({"Vorher", "Nachher"}));
        QVERIFY(!QFile::exists(QDir(m_data).filePath(QStringLiteral("fiee:list"))));
    }

    void restoreWaitsForTheProgramToEnd() {
        const QString archive = backup();
        addCarrier(QStringLiteral("Nachher"), 2);
        {
            LockHolderProcess program(m_data);
            QVERIFY(program.holds());
            TBackupFile b;
            databackup::configure(b);
            const auto result = databackup::restoreDataDirectory(b, archive, m_data);
            QVERIFY(!result.ok);
            QVERIFY(result.inUse);
            QCOMPARE(result.failure, DataDirectoryLock::inUseText());
            QCOMPARE(carriers(), QStringList({"Vorher", "Nachher"}));
        }
        TBackupFile b;
        databackup::configure(b);
        const auto result = databackup::restoreDataDirectory(b, archive, m_data);
        QVERIFY2(result.ok, qPrintable(result.failure));
        QCOMPARE(carriers(), QStringList({"Vorher"}));
    }

    void cancelledRestoreLeavesTheDataAlone() {
        const QString archive = backup();
        addCarrier(QStringLiteral("Nachher"), 2);
        TBackupFile b;
        databackup::configure(b);
        b.OnProgress = [&](const QString& name, bool&, int) {
            if (!name.isEmpty())
                b.cancel();
        };
        const auto result = databackup::restoreDataDirectory(b, archive, m_data);
        QVERIFY(!result.ok);
        QVERIFY(result.cancelled);
        QCOMPARE(carriers(), QStringList({"Vorher", "Nachher"}));
    }
};

QTEST_GUILESS_MAIN(TestDataBackup)
#include "tst_databackup.moc"
