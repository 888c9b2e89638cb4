#include "core/shell/datadirectorylock.h"
#include "support/lockholderprocess.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestDataDirectoryLock : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString lockFile() const {
        return QDir(m_dir->path()).filePath(QString::fromLatin1(DataDirectoryLock::kFileName));
    }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void anotherProcessHoldsItUntilItEnds() {
        LockHolderProcess holder(m_dir->path());
        QVERIFY(holder.holds());
        DataDirectoryLock lock(m_dir->path());
        QString refusal;
        QVERIFY(!lock.tryLock(&refusal));
        QVERIFY(!lock.isHeld());
        QCOMPARE(refusal, QStringLiteral("Diskarium verwendet diese Daten gerade. Beenden Sie das "
                                         "Programm und versuchen Sie es erneut."));
        // Another data directory is not affected.
        QTemporaryDir other;
        DataDirectoryLock otherLock(other.path());
        QVERIFY(otherLock.tryLock());

        holder.release();
        QVERIFY(!QFile::exists(lockFile()));
        QVERIFY(lock.tryLock(&refusal));
        QVERIFY(!lock.tookOverStaleLock());
    }

    void lockOfAProcessThatIsGoneIsTakenOver() {
        LockHolderProcess holder(m_dir->path());
        QVERIFY(holder.holds());
        holder.kill();
        QVERIFY(QFile::exists(lockFile()));
        DataDirectoryLock lock(m_dir->path());
        QVERIFY(lock.tryLock());
        QVERIFY(lock.tookOverStaleLock());
        lock.release();
        QVERIFY(!QFile::exists(lockFile()));
        // A clean release leaves nothing that looks like an unclean end.
        QVERIFY(lock.tryLock());
        QVERIFY(!lock.tookOverStaleLock());
    }

    // Who may use the data beside whom: writers beside each other and beside the program,
    // a replacement only alone.
    void modes_data() {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("allowed");
        using M = DataDirectoryLock::Mode;
        QTest::newRow("program beside program") << "program" << int(M::Program) << false;
        QTest::newRow("writer beside program") << "program" << int(M::Writer) << true;
        QTest::newRow("replace beside program") << "program" << int(M::Replace) << false;
        QTest::newRow("program beside writer") << "writer" << int(M::Program) << true;
        QTest::newRow("writer beside writer") << "writer" << int(M::Writer) << true;
        QTest::newRow("replace beside writer") << "writer" << int(M::Replace) << false;
        QTest::newRow("program during replace") << "replace" << int(M::Program) << false;
        QTest::newRow("writer during replace") << "replace" << int(M::Writer) << false;
        QTest::newRow("replace during replace") << "replace" << int(M::Replace) << false;
    }
    void modes() {
        QFETCH(QString, holder);
        QFETCH(int, mode);
        QFETCH(bool, allowed);
        LockHolderProcess other(m_dir->path(), holder);
        QVERIFY(other.holds());
        DataDirectoryLock lock(m_dir->path(), DataDirectoryLock::Mode(mode));
        QString refusal;
        QCOMPARE(lock.tryLock(&refusal), allowed);
        if (!allowed)
            QCOMPARE(refusal, DataDirectoryLock::Mode(mode) == DataDirectoryLock::Mode::Writer
                                  ? DataDirectoryLock::beingReplacedText()
                                  : DataDirectoryLock::inUseText());
        lock.release();
        other.release();
        // Once everyone has let go, the file is gone and a replacement may run.
        QVERIFY(!QFile::exists(lockFile()));
        DataDirectoryLock replace(m_dir->path(), DataDirectoryLock::Mode::Replace);
        QVERIFY(replace.tryLock());
        QVERIFY(!replace.tookOverStaleLock());
    }

    // A process killed right after it made the file leaves it empty or half written; nobody
    // holds it, so it is taken over as a dead holder's.
    void aLeftOverFileWithoutAHolderIsTakenOver_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("half written") << QByteArray("12");
        QTest::newRow("unreadable") << QByteArray("\xff\xfe\0\0garbage", 11);
        QTest::newRow("a holder on another host") << QByteArray("4711\nDiskarium\nanderswo\n");
    }
    void aLeftOverFileWithoutAHolderIsTakenOver() {
        QFETCH(QByteArray, content);
        QFile file(lockFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        DataDirectoryLock lock(m_dir->path());
        QString refusal;
        QVERIFY2(lock.tryLock(&refusal), qPrintable(refusal));
        QVERIFY(lock.tookOverStaleLock());
        lock.release();
        QVERIFY(!QFile::exists(lockFile()));
    }

    void aWriterKeepsTheSignOfADeadProgram() {
        LockHolderProcess program(m_dir->path());
        QVERIFY(program.holds());
        program.kill();
        {
            DataDirectoryLock writer(m_dir->path(), DataDirectoryLock::Mode::Writer);
            QVERIFY(writer.tryLock());
        }
        DataDirectoryLock next(m_dir->path());
        QVERIFY(next.tryLock());
        QVERIFY(next.tookOverStaleLock());
    }

    void heldWithinThisProcessToo() {
        DataDirectoryLock first(m_dir->path());
        QVERIFY(first.tryLock());
        DataDirectoryLock second(m_dir->path());
        QVERIFY(!second.tryLock());
        first.release();
        QVERIFY(second.tryLock());
    }
};

QTEST_GUILESS_MAIN(TestDataDirectoryLock)
#include "tst_datadirectorylock.moc"
