#include "core/common/atomicfile.h"
#include "support/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestAtomicFile : public QObject {
    Q_OBJECT

    static QByteArray contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
    }

private slots:
    void writesOrKeepsTheOldFile_data() {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("full");
        QTest::addColumn<bool>("viaDevice");
        QTest::newRow("new file") << false << false << false;
        QTest::newRow("replaces") << true << false << false;
        QTest::newRow("replaces through a device") << true << false << true;
        QTest::newRow("full disk keeps old file") << true << true << false;
        QTest::newRow("full disk through a device") << true << true << true;
        QTest::newRow("full disk leaves no new file") << false << true << false;
    }
    void writesOrKeepsTheOldFile() {
        QFETCH(bool, existing);
        QFETCH(bool, full);
        QFETCH(bool, viaDevice);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("WinDsKm.InI"));
        const QByteArray old = "[Application]\r\nShow Hints=0\r\n";
        if (existing) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(old);
        }
        const QByteArray content(64 * 1024, 'x');
        QString error;
        bool ok = false;
        {
            FileSizeLimit limit(full ? 1000 : RLIM_INFINITY);
            if (viaDevice) {
                atomicfile::File file(path);
                file.device()->write(content.left(100));
                file.device()->write(content.mid(100));
                ok = file.commit(&error);
            } else {
                ok = atomicfile::write(path, content, &error);
            }
        }
        QCOMPARE(ok, !full);
        if (full) {
            QVERIFY2(error.startsWith(QStringLiteral("Die Datei ")), qPrintable(error));
            QVERIFY2(error.contains(QStringLiteral("nicht genug Platz")), qPrintable(error));
            QCOMPARE(contents(path), existing ? old : QByteArray("<fehlt>"));
        } else {
            QVERIFY(error.isEmpty());
            QCOMPARE(contents(path), content);
        }
        // No temporary file is left beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                 existing || !full ? 1 : 0);
    }

    void refusesAFolderOrAMissingFolder_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("folder") << "ordner";
        QTest::newRow("missing folder") << "fehlt/datei.txt";
    }
    void refusesAFolderOrAMissingFolder() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ordner")));
        QString error;
        QVERIFY(!atomicfile::write(dir.filePath(name), "x", &error));
        QVERIFY2(error.contains(QStringLiteral("kann nicht geschrieben werden")),
                 qPrintable(error));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("ordner"))).isDir());
    }

    void keepsThePermissionsOfAReplacedFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("liste.csv"));
        QVERIFY(atomicfile::write(path, "alt"));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        const QFile::Permissions before = QFile::permissions(path);
        QVERIFY(atomicfile::write(path, "neu"));
        QCOMPARE(QFile::permissions(path), before);
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
