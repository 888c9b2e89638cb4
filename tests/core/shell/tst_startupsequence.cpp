#include "core/db/dataset.h"
#include "core/db/schema.h"
#include "core/shell/datadirectorylock.h"
#include "core/shell/startupsequence.h"
#include "support/scriptedmessageservice.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Records what the start-up dialog was told.
struct RecordingUi : StartupUi {
    QList<int> progress;
    QStringList visibility;
    int pauses = 0;
    void setProgress(int percent) override { progress.append(percent); }
    void pause(int) override { ++pauses; }
    void setVisible(bool visible) override { visibility.append(visible ? "show" : "hide"); }
};
} // namespace

class TestStartupSequence : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    Database m_db;
    ScriptedMessageService m_messages;
    Settings m_settings;

    StartupContext context(const QStringList& arguments = {}, bool duplicate = false) {
        return StartupContext{
            m_db,       m_messages,
            m_settings, QDir(m_dir->path()).filePath(QString::fromLatin1(settingsfile::kFileName)),
            arguments,  duplicate,
            {},         {}};
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_messages = ScriptedMessageService();
        m_settings = Settings();
        QVERIFY(startup::openDatabase(m_db, m_dir->path(), m_messages));
    }
    void cleanup() { m_db.close(); }

    void rebuildRequest_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("requested");
        QTest::newRow("none") << QStringList() << false;
        QTest::newRow("upper case") << QStringList({"REINDEX"}) << true;
        QTest::newRow("any case") << QStringList({"reIndex"}) << true;
        QTest::newRow("second argument ignored") << QStringList({"reindex", "foo"}) << true;
        QTest::newRow("only as first") << QStringList({"foo", "REINDEX"}) << false;
        QTest::newRow("other word") << QStringList({"REINDEXX"}) << false;
    }
    void rebuildRequest() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, requested);
        QCOMPARE(startup::rebuildRequested(arguments), requested);
    }

    void stepsInOrder() {
        QFile ini(QDir(m_dir->path()).filePath(QString::fromLatin1(settingsfile::kFileName)));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Application]\nShow Hints=0\n");
        ini.close();
        RecordingUi ui;
        bool applied = false, previewCreated = false;
        StartupContext c = context();
        c.applySettings = [&] { applied = !m_settings.showHints; };
        c.createPreview = [&] {
            previewCreated = true;
            throw std::runtime_error("no preview"); // ignored
        };
        QVERIFY(startup::runDataSteps(c, ui));
        QCOMPARE(ui.progress, QList<int>({4, 12, 16, 28, 44, 52, 62, 65, 68, 76, 89, 100}));
        QVERIFY(applied);
        QVERIFY(previewCreated);
        QVERIFY(m_messages.messages().isEmpty());
    }

    // The pages of every table are read only when there is reason to.
    void pageCheckOnlyWhenNeeded_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("uncleanEnd");
        QTest::addColumn<bool>("checked");
        QTest::newRow("clean start") << QStringList() << false << false;
        QTest::newRow("after an unclean end") << QStringList() << true << true;
        QTest::newRow("REINDEX") << QStringList({"reindex"}) << false << true;
    }
    void pageCheckOnlyWhenNeeded() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, uncleanEnd);
        QFETCH(bool, checked);
        RecordingUi ui;
        StartupContext c = context(arguments);
        c.uncleanEnd = uncleanEnd;
        QStringList tables;
        c.pageChecked = [&](const QString& table, bool passed) {
            tables.append(table);
            QVERIFY(passed);
        };
        QVERIFY(startup::runDataSteps(c, ui));
        if (checked) {
            QCOMPARE(tables.size(), 24); // the tables of the index check
            QVERIFY(tables.contains(QStringLiteral("MUSIKPOS")));
        } else {
            QCOMPARE(tables, QStringList());
        }
    }

    void missingDataFileStopsTheStart() {
        m_db.exec(u"DROP TABLE \"VERSTAMM\"");
        RecordingUi ui;
        StartupContext c = context();
        QVERIFY(!startup::runDataSteps(c, ui));
        QCOMPARE(ui.progress, QList<int>({4, 12}));
        QCOMPARE(ui.visibility, QStringList({"hide", "show"}));
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().helpContext, 5501);
    }

    void failingFormatCheckEndsTheStart() {
        const schema::Table& songs = schema::table(u"MUSIKPOS");
        schema::Table old = songs;
        old.fields.resize(10);
        m_db.exec(u"DROP TABLE \"MUSIKPOS\"");
        m_db.exec(schema::createTableSql(old));
        m_messages.answer(MessageButton::Cancel);
        RecordingUi ui;
        StartupContext c = context();
        bool settingsRead = false;
        c.applySettings = [&] { settingsRead = true; };
        QVERIFY(!startup::runDataSteps(c, ui));
        QCOMPARE(ui.progress.last(), 52);
        QVERIFY(!settingsRead);
    }

    void duplicateInstanceSkipsTheDataSteps() {
        m_db.exec(u"DROP TABLE \"VERSTAMM\"");
        RecordingUi ui;
        StartupContext c = context({}, true);
        QVERIFY(startup::runDataSteps(c, ui));
        QVERIFY(m_messages.messages().isEmpty());
    }

    void firstStartCreatesTheDataSet() {
        QVERIFY(QFile::exists(dataset::databasePath(m_dir->path())));
        for (const char* file : {"README.W32", "LICENCE.W32", "VERSIONS.W32"})
            QVERIFY2(QFile::exists(QDir(m_dir->path()).filePath(QString::fromLatin1(file))), file);
    }

    void brokenDatabaseIsReportedAndKept() {
        QTemporaryDir dir;
        const QString path = dataset::databasePath(dir.path());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        Database db;
        QVERIFY(!startup::openDatabase(db, dir.path(), m_messages));
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().kind, MessageKind::Error);
        QCOMPARE(QFileInfo(path).size(), 4096);
    }

    // A restore killed midway left its staging folder: the next start clears it.
    void startClearsWhatAKilledRestoreLeft() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral(".wiederherstellung")));
        QFile half(QDir(dir.path()).filePath(QStringLiteral(".wiederherstellung/WinDsKm.db")));
        QVERIFY(half.open(QIODevice::WriteOnly));
        half.close();
        Database db;
        DataDirectoryLock lock;
        QVERIFY(startup::openDatabase(db, dir.path(), m_messages, &lock));
        QVERIFY(!QDir(dir.path()).exists(QStringLiteral(".wiederherstellung")));
    }
};

QTEST_GUILESS_MAIN(TestStartupSequence)
#include "tst_startupsequence.moc"
