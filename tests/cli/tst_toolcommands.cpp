#include "core/db/dataset.h"
#include "core/shell/datadirectorylock.h"
#include "support/lockholderprocess.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// diskarium-tool beside a program that has the data directory open.
class TestToolCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
    QString m_archive;

    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Run tool(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(TOOL_PATH), args);
        p.waitForFinished(60000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
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
            const Run run = tool(expand(args));
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
        QCOMPARE(tool(expand({"backup", "DATA", "ARCHIVE"})).exitCode, 0);
        const QString database = dataset::databasePath(m_data);
        const QDateTime written = QFileInfo(database).lastModified();
        {
            LockHolderProcess program(m_data);
            QVERIFY(program.holds());
            const Run run = tool(expand(args));
            QCOMPARE(run.exitCode, 1);
            QCOMPARE(run.err.trimmed(), DataDirectoryLock::inUseText());
            QCOMPARE(run.out, QString());
            QCOMPARE(QFileInfo(database).lastModified(), written);
        }
        const Run run = tool(expand(args));
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(TestToolCommands)
#include "tst_toolcommands.moc"
