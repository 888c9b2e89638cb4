#include "core/db/dataset.h"
#include "core/shell/datadirectorylock.h"
#include "support/lockholderprocess.h"
#include "support/processrun.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// diskarium-tool beside a program that has the data directory open.
class TestToolCommands : public QObject {
    Q_OBJECT

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
};

QTEST_GUILESS_MAIN(TestToolCommands)
#include "tst_toolcommands.moc"
