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
