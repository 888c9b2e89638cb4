#include "core/db/database.h"
#include "core/db/dataset.h"
#include "core/shell/datadirectorylock.h"
#include "support/lockholderprocess.h"
#include "support/processrun.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

// diskarium-tool beside a program that has the data directory open.
class TestToolCommands : public QObject {
    Q_OBJECT

    // The tool with every file it writes cut at 100 bytes, as on a full disk.
    static ProcessRun runOnFullDisk(const QStringList& args) {
        std::signal(SIGXFSZ, SIG_IGN); // the tool inherits both the limit and this
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &small);
        const ProcessRun run = runTool(args);
        setrlimit(RLIMIT_FSIZE, &saved);
        return run;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
    QString m_archive;

    QStringList expand(QStringList args) const {
        for (QString& a : args) {
            if (a == QLatin1String("DATA"))
                a = m_data;
            else if (a == QLatin1String("ARCHIVE"))
                a = m_archive;
        }
        return args;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_data = m_dir->filePath(QStringLiteral("daten"));
        m_archive = m_dir->filePath(QStringLiteral("sicherung.bck"));
        dataset::create(m_data);
    }

    void readingCommandsRunBesideTheProgram() {
        LockHolderProcess program(m_data);
        QVERIFY(program.holds());
        for (const QStringList& args :
             {QStringList{"backup", "DATA", "ARCHIVE"}, QStringList{"list", "ARCHIVE"},
              QStringList{"check", "DATA"}}) {
            const ProcessRun run = runTool(expand(args));
            QVERIFY2(run.exitCode == 0, qPrintable(args.first() + QLatin1String(": ") + run.err));
        }
    }

    void replacingCommandsWaitForTheProgram_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("restore") << QStringList{"restore", "ARCHIVE", "DATA"};
        QTest::newRow("check --reindex") << QStringList{"check", "DATA", "--reindex"};
    }
    void replacingCommandsWaitForTheProgram() {
        QFETCH(QStringList, args);
        QCOMPARE(runTool(expand({"backup", "DATA", "ARCHIVE"})).exitCode, 0);
        const QString database = dataset::databasePath(m_data);
        const QDateTime written = QFileInfo(database).lastModified();
        {
            LockHolderProcess program(m_data);
            QVERIFY(program.holds());
            const ProcessRun run = runTool(expand(args));
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(run.err.trimmed(), DataDirectoryLock::inUseText());
            QCOMPARE(run.out, QString());
            QCOMPARE(QFileInfo(database).lastModified(), written);
        }
        const ProcessRun run = runTool(expand(args));
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    }

    // Commands that change records run beside the program and beside each other, but
    // never while the data are replaced or rebuilt, and nothing replaces the data under them.
    void writersAndReplacementsKeepApart_data() {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("refusal"); // empty: the command runs
        const QString replacing =
            QStringLiteral("Fehler: ") + DataDirectoryLock::beingReplacedText();
        const QString inUse = DataDirectoryLock::inUseText();
        const QStringList import{"import", "DATA", "FILE"};
        const QStringList templateImport{"template", "import", "DATA", "FILE", "--type", "1"};
        QTest::newRow("import during restore") << "replace" << import << replacing;
        QTest::newRow("template import during restore") << "replace" << templateImport << replacing;
        QTest::newRow("check during restore")
            << "replace" << QStringList{"check", "DATA"} << DataDirectoryLock::beingReplacedText();
        QTest::newRow("restore during import")
            << "writer" << QStringList{"restore", "ARCHIVE", "DATA"} << inUse;
        QTest::newRow("reindex during import")
            << "writer" << QStringList{"check", "DATA", "--reindex"} << inUse;
        QTest::newRow("add-cd during import")
            << "writer" << QStringList{"add-cd", "DATA", "FILE", "--type", "LP"} << QString();
        QTest::newRow("import beside the program") << "program" << import << QString();
        QTest::newRow("import beside an import") << "writer" << import << QString();
    }
    void writersAndReplacementsKeepApart() {
        QFETCH(QString, holder);
        QFETCH(QStringList, args);
        QFETCH(QString, refusal);
        QCOMPARE(runTool(expand({"backup", "DATA", "ARCHIVE"})).exitCode, 0);
        args.replaceInStrings(QStringLiteral("FILE"), m_dir->filePath(QStringLiteral("fehlt.DKM")));
        const QString database = dataset::databasePath(m_data);
        const QDateTime written = QFileInfo(database).lastModified();
        LockHolderProcess other(m_data, holder);
        QVERIFY(other.holds());
        const ProcessRun run = runTool(expand(args));
        if (refusal.isEmpty()) {
            QVERIFY2(!run.err.contains(DataDirectoryLock::inUseText()) &&
                         !run.err.contains(DataDirectoryLock::beingReplacedText()),
                     qPrintable(run.err));
        } else {
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(run.err.trimmed(), refusal);
            QCOMPARE(QFileInfo(database).lastModified(), written);
        }
    }

    // A data set that does not fit leaves nothing behind, not even its folders.
    void initOnAFullDiskLeavesNothing() {
        const QString parent = m_dir->filePath(QStringLiteral("neu"));
        const ProcessRun run = runOnFullDisk({"init", parent + QStringLiteral("/daten")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith(QStringLiteral("Fehler: ")), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(parent));
    }

    // Records that read well but contradict each other are damage too.
    void checkNamesASongWithoutCarrier() {
        {
            Database db;
            db.open(dataset::databasePath(m_data));
            db.exec(u"INSERT INTO MUSIKPOS (\"Folgenummer Position\", \"Seite der Schallplatte\", "
                    u"\"Nr. des Liedes\") VALUES (4711, 1, 1)");
        }
        const ProcessRun run = runTool({"check", m_data});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("Das Lied gehört zu keinem Tonträger "
                                                 "(Tonträger 4711)")),
                 qPrintable(run.err));
        QVERIFY(!run.out.contains(QStringLiteral("in Ordnung")));
    }

    // Another program in the middle of a change is no damage.
    void aBusyDatabaseIsNotCalledDamaged_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("lend") << QStringList{"lend", "DATA", "#1", "Erika"};
        QTest::newRow("check") << QStringList{"check", "DATA"};
        QTest::newRow("carriers") << QStringList{"carriers", "DATA"};
    }
    void aBusyDatabaseIsNotCalledDamaged() {
        QFETCH(QStringList, args);
        Database other;
        other.open(dataset::databasePath(m_data));
        other.exec(u"BEGIN EXCLUSIVE");
        const ProcessRun run = runTool(expand(args));
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(Database::busyText()), qPrintable(run.err));
        QVERIFY2(!run.err.contains(QStringLiteral("beschädigt")), qPrintable(run.err));
        other.exec(u"ROLLBACK");
    }

    // A full disk keeps the file that was there and says so; nothing claims success.
    void aFullDiskKeepsTheOldFile() {
        const QString target = m_dir->filePath(QStringLiteral("vorlage.DKMT"));
        const QByteArray old = QByteArray("alt\r\n").repeated(10);
        {
            QFile f(target);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(old);
        }
        const ProcessRun run = runOnFullDisk(expand(
            {"template", "export", "DATA", "Tonträger mit allen Liedern", target, "--type", "2"}));
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("nicht genug Platz")), qPrintable(run.err));
        QVERIFY(!run.out.contains(QStringLiteral("xportiert")));
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
        QCOMPARE(QDir(m_dir->path())
                     .entryList({QStringLiteral(".vorlage*")}, QDir::Hidden | QDir::Files),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(TestToolCommands)
#include "tst_toolcommands.moc"
