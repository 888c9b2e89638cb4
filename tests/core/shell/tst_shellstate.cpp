#include "core/shell/datadirectory.h"
#include "core/shell/menustate.h"
#include "core/shell/singleinstance.h"
#include "core/shell/tips.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The small rules of the shell: which commands are enabled, which tip comes next, where
// the data lives, and that a second start hands over.
class TestShellState : public QObject {
    Q_OBJECT
private slots:
    void menuState_data() {
        QTest::addColumn<int>("children");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<int>("carriers");
        QTest::addColumn<bool>("drive");
        QTest::addColumn<bool>("playerOpen");
        QTest::addColumn<bool>("windowCommands");
        QTest::addColumn<bool>("dataCommands");
        QTest::addColumn<bool>("cdPlayer");
        QTest::newRow("empty collection, no drive")
            << 0 << false << 0 << false << false << false << false << true;
        QTest::newRow("first carrier") << 1 << false << 1 << false << false << true << true << true;
        QTest::newRow("busy") << 2 << true << 100 << true << false << true << false << true;
        QTest::newRow("player open, no drive")
            << 1 << false << 5 << false << true << true << true << true;
    }
    void menuState() {
        QFETCH(int, children);
        QFETCH(bool, busy);
        QFETCH(int, carriers);
        QFETCH(bool, drive);
        QFETCH(bool, playerOpen);
        QFETCH(bool, windowCommands);
        QFETCH(bool, dataCommands);
        QFETCH(bool, cdPlayer);
        const MenuState s = menuStateFor({children, busy, carriers, drive, playerOpen});
        QCOMPARE(s.windowCommands, windowCommands);
        QCOMPARE(s.dataCommands, dataCommands);
        QCOMPARE(s.cdPlayer, cdPlayer);
    }

    void tipNavigationWraps() {
        std::vector<TipRecord> records(3);
        const Tips tips(records);
        QCOMPARE(tips.startAfter(1), 2);
        QCOMPARE(tips.startAfter(3), 1);
        QCOMPARE(tips.startAfter(0), 1);
        QCOMPARE(tips.startAfter(99), 1);
        QCOMPARE(tips.next(3), 1);
        QCOMPARE(tips.previous(1), 3);
        QCOMPARE(Tips({}).startAfter(1), 0);
    }

    void tipText_data() {
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("text");
        QTest::newRow("line breaks") << "a%sb%sc"
                                     << "a\nb\nc";
        QTest::newRow("only five") << "1%s2%s3%s4%s5%s6%s7"
                                   << "1\n2\n3\n4\n5\n6%s7";
        QTest::newRow("cut at 255") << QString(300, 'x') << QString(255, 'x');
    }
    void tipText() {
        QFETCH(QString, tip);
        QFETCH(QString, text);
        QCOMPARE(Tips::textOf(tip), text);
    }

    void tipTitles() {
        QCOMPARE(Tips::titleFor("H"), QStringLiteral("Wußten Sie schon..."));
        QCOMPARE(Tips::titleFor("W"), QStringLiteral("Witz..."));
        QCOMPARE(Tips::titleFor("X"), QString());
    }

    void dataDirectory_data() {
        QTest::addColumn<bool>("installed"); // bin/ beside share/diskarium/
        QTest::addColumn<bool>("database");
        QTest::addColumn<bool>("inProgramFolder");
        QTest::newRow("build folder, writable") << false << false << true;
        QTest::newRow("installed, writable (root, home prefix)") << true << false << false;
        QTest::newRow("installed, portable database kept") << true << true << true;
    }
    void dataDirectory() {
        QFETCH(bool, installed);
        QFETCH(bool, database);
        QFETCH(bool, inProgramFolder);
        QTemporaryDir prefix, xdgHome;
        const QString bin = prefix.filePath("bin");
        QVERIFY(QDir().mkpath(bin));
        if (installed)
            QVERIFY(QDir().mkpath(prefix.filePath("share/diskarium")));
        if (database)
            QVERIFY(QFile(bin + "/WinDsKm.db").open(QIODevice::WriteOnly));
        qputenv("XDG_DATA_HOME", QFile::encodeName(xdgHome.path()));
        const QString chosen = datadirectory::choose(bin);
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(chosen, inProgramFolder ? bin + "/" : xdgHome.path() + "/Diskarium/");
        QCOMPARE(datadirectory::installedDataFor(bin),
                 installed ? prefix.path() + "/share/diskarium/" : QString());
    }
    void dataDirectoryOfReadOnlyProgram() {
        const QString readOnly = QStringLiteral("/proc/self"); // not writable, holds no database
        QVERIFY(datadirectory::choose(readOnly).endsWith(QLatin1String("/Diskarium/")));
    }

    void secondStartHandsOver() {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QVERIFY(!first.handOverToRunningInstance());
        QSignalSpy activated(&first, &SingleInstance::activationRequested);
        SingleInstance second(dir.path());
        QVERIFY(second.handOverToRunningInstance());
        QVERIFY(activated.wait(2000));
        SingleInstance elsewhere(dir.path() + "/other");
        QVERIFY(!elsewhere.handOverToRunningInstance());
    }
};

QTEST_GUILESS_MAIN(TestShellState)
#include "tst_shellstate.moc"
