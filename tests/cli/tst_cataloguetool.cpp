#include "core/catalogue/carrierstore.h"
#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/settings/settings.h"
#include "core/shell/datadirectorylock.h"
#include "support/discimage.h"
#include "support/fakecddbserver.h"
#include "support/fakehttpserver.h"
#include "support/lockholderprocess.h"
#include "support/processrun.h"

#include <QTemporaryDir>
#include <QTest>

// diskarium-tool add-cd and show, run as the user runs them.
class TestCatalogueTool : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
    QStringList m_images;
    FakeCddbServer* m_server = nullptr;

    qint64 count(const char* table) {
        Database db;
        db.open(dataset::databasePath(m_data));
        return records::count(db, schema::table(QString::fromLatin1(table)));
    }
    QStringList server() const {
        return {"--host", "127.0.0.1", "--port", QString::number(m_server->port()),
                "--user", "tester"};
    }
    static QStringList musicBrainzArgs(const FakeHttpServer& web) {
        return {"--musicbrainz", "--server", web.baseUrl() + "/", "--cover-server",
                web.baseUrl(),   "--user",   "max@example.org"};
    }
    static QByteArray fixture(const char* name) {
        QFile file(QStringLiteral(MUSICBRAINZ_FIXTURES) + QLatin1String(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_data = m_dir->filePath("daten");
        dataset::create(m_data);
        m_images = {writeDiscImage(m_dir->path(), "a", {{40, true}, {80, true}, {50, false}}),
                    writeDiscImage(m_dir->path(), "b", {{60, true}})};
        delete m_server;
        m_server = new FakeCddbServer(this);
        m_server->replies.insert("cddb query", "200 rock 0a0b0c0d Band / Platte\r\n");
        m_server->replies.insert("cddb read", "210 rock 0a0b0c0d CD database entry follows\r\n"
                                              "DTITLE=Band / Platte\r\nTTITLE0=Eins\r\n"
                                              "TTITLE1=Zwei - Gast\r\nEXTD=Aufgenommen 1999\r\n"
                                              ".\r\n");
    }

    void addTwoDiscsAndShow() {
        const ProcessRun run = runTool(
            QStringList{"add-cd", m_data, m_images[0], m_images[1], "--type", "cd"} + server());
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.out.trimmed(), QStringLiteral("1"));
        QCOMPARE(count("MUSIKINF"), 2);
        QCOMPARE(count("MUSIKPOS"), 4);
        QCOMPARE(count("MUSIKTXT"), 1);
        const ProcessRun shown = runTool({"show", m_data, "1"});
        QCOMPARE(shown.exitCode, 0);
        QVERIFY2(shown.out.contains(QStringLiteral("Gruppe: Band\n")), qPrintable(shown.out));
        QVERIFY(shown.out.contains(QStringLiteral("Anzahl Lieder: 4\n")));
        QVERIFY(shown.out.contains(QStringLiteral("Gesamtlaufzeit: 3,50\n")));
        QVERIFY(shown.out.contains(QStringLiteral("Lied 1/2: Zwei / Gast 1,20")));
        QVERIFY(shown.out.contains(QStringLiteral("Lied 1/3: Data-Track / Band 0,50")));
        QVERIFY(shown.out.contains(QStringLiteral("Lied 2/1: Eins / Band 1,00")));
        QVERIFY(shown.out.contains(QStringLiteral("  Aufgenommen 1999\n  Aufgenommen 1999\n")));
    }

    void withoutServer() {
        const ProcessRun run = runTool({"add-cd", m_data, m_images[1], "--type", "LP", "--group",
                                        "Gruppe", "--title", "Titel", "--number", "7"});
        QCOMPARE(run.exitCode, 0);
        const ProcessRun shown = runTool({"show", m_data, "1"});
        QVERIFY(shown.out.contains(QStringLiteral("Lfd. Nr: 7\n")));
        QVERIFY(shown.out.contains(QStringLiteral("CD 1 Prüfcode: ")));
        QCOMPARE(count("MUSIKPOS"), 0);
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown type") << QStringList{"--type", "Walze", "--group", "G"} << 1
                                      << "Die Tonträgerart Walze gibt es nicht.";
        QTest::newRow("no type") << QStringList{"--group", "G"} << 2 << "Aufruf:";
        QTest::newRow("no group") << QStringList{"--type", "LP"} << 1
                                  << "Im Feld Gruppe muß ein Wert eingegeben werden!";
    }
    void refusals() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const ProcessRun run = runTool(QStringList{"add-cd", m_data, m_images[1]} + args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(count("MUSIKKOP"), 0);
    }

    void unreadableDiscStoresNothing() {
        const ProcessRun run = runTool({"add-cd", m_data, m_images[0], m_dir->filePath("fehlt.cue"),
                                        "--type", "CD", "--group", "G"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("Die CD-Daten konnten nicht ermittelt werden!")));
        QCOMPARE(count("MUSIKKOP"), 0);
        QCOMPARE(count("MUSIKINF"), 0);
    }

    void refusedWhileTheProgramRuns() {
        {
            LockHolderProcess program(m_data);
            QVERIFY(program.holds());
            const ProcessRun run =
                runTool({"add-cd", m_data, m_images[1], "--type", "LP", "--group", "G"});
            QCOMPARE(run.exitCode, 1);
            QVERIFY2(run.err.contains(DataDirectoryLock::inUseText()), qPrintable(run.err));
            QCOMPARE(count("MUSIKKOP"), 0);
        }
        QCOMPARE(runTool({"add-cd", m_data, m_images[1], "--type", "LP", "--group", "G"}).exitCode,
                 0);
        QCOMPARE(count("MUSIKKOP"), 1);
    }

    void duplicateStoresNothing() {
        const QStringList args{"add-cd",  m_data, m_images[0], "--type", "CD",
                               "--group", "G",    "--number",  "5"};
        QCOMPARE(runTool(args).exitCode, 0);
        const ProcessRun again = runTool(args);
        QCOMPARE(again.exitCode, 1);
        QVERIFY(again.err.contains(QStringLiteral("[Gruppe/Titel/Art/Lfd. Nr]")));
        QCOMPARE(count("MUSIKKOP"), 1);
        QCOMPARE(count("MUSIKINF"), 1);
    }

    void globalNumberWrittenBack() {
        const QString ini = m_data + "/" + settingsfile::kFileName;
        Settings settings;
        settings.globalNumbering = true;
        settings.globalNumber = 41;
        QVERIFY(settingsfile::write(ini, settings));
        QCOMPARE(runTool({"add-cd", m_data, m_images[1], "--type", "LP", "--group", "G"}).exitCode,
                 0);
        QCOMPARE(settingsfile::read(ini).globalNumber, 42);
        QVERIFY(runTool({"show", m_data, "1"}).out.contains(QStringLiteral("Lfd. Nr: 41\n")));
    }

    // Year and genre come over from either source; a cover only from MusicBrainz, when asked.
    void yearGenreAndCover_data() {
        QTest::addColumn<bool>("musicBrainz");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("direction");
        QTest::newRow("CDDB") << false << "Band"
                              << "1999"
                              << "2";
        QTest::newRow("MusicBrainz") << true << "Die Ärzte"
                                     << "1984"
                                     << "0";
    }
    void yearGenreAndCover() {
        QFETCH(bool, musicBrainz);
        QFETCH(QString, group);
        QFETCH(QString, year);
        QFETCH(QString, direction);
        m_server->replies.insert("cddb read", "210 rock 0a0b0c0d CD database entry follows\r\n"
                                              "DTITLE=Band / Platte\r\nDYEAR=1999\r\n"
                                              "DGENRE=rock\r\nTTITLE0=Eins\r\n.\r\n");
        FakeHttpServer web;
        const QByteArray releases = fixture("discid_two_releases.json")
                                        .replace("\"title\": \"Debil\",",
                                                 "\"title\": \"Debil\", \"date\": \"1984-05-01\",");
        QVERIFY(!releases.isEmpty());
        web.handler = [&](const QByteArray& target) -> FakeHttpServer::Reply {
            if (target.startsWith("/ws/2/discid/"))
                return {200, releases, "application/json", 0};
            if (target == "/release/11111111-aaaa-4bbb-8ccc-000000000001/front-500")
                return {200, QByteArray("\xFF\xD8\xFF\xE0", 4), "image/jpeg", 0};
            return {404, "Not Found", "text/plain", 0};
        };
        const QStringList source = musicBrainz ? musicBrainzArgs(web) << "--cover" : server();
        const ProcessRun run =
            runTool(QStringList{"add-cd", m_data, m_images[1], "--type", "CD"} + source);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QString shown = runTool({"show", m_data, "1"}).out;
        QVERIFY2(shown.contains("Gruppe: " + group + "\n"), qPrintable(shown));
        QVERIFY2(shown.contains("Erscheinungsjahr: " + year + "\n"), qPrintable(shown));
        QVERIFY2(shown.contains("Musikrichtung: " + direction + "\n"), qPrintable(shown));
        QCOMPARE(shown.contains(QStringLiteral("4 Bytes")), musicBrainz);
    }

    void musicBrainzOptionsNeedIt() {
        QCOMPARE(runTool({"add-cd", m_data, m_images[1], "--type", "CD", "--cover"}).exitCode, 2);
        QCOMPARE(
            runTool(QStringList{"add-cd", m_data, m_images[1], "--type", "CD", "--musicbrainz"} +
                    server())
                .exitCode,
            2);
    }

    // A release from MusicBrainz is remembered with the carrier; one the collection may hold
    // already is refused unless allowed.
    void ownedAlready_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("same release group")
            << QStringList{"--number", "2"} << 1
            << "Schon vorhanden: Nr. 1 Die Ärzte / Debil (gleiche Veröffentlichungsgruppe)\n";
        QTest::newRow("group and title as the lists compare")
            << QStringList{"--hit", "2", "--title", "DEBIL "} << 1
            << "Schon vorhanden: Nr. 1 Die Ärzte / Debil (gleiche Gruppe und gleicher Titel)\n";
        QTest::newRow("another edition") << QStringList{"--hit", "2"} << 0 << "";
        QTest::newRow("allowed") << QStringList{"--number", "2", "--allow-duplicate"} << 0 << "";
    }
    void ownedAlready() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        FakeHttpServer web;
        const QByteArray releases = fixture("discid_two_releases.json");
        web.handler = [&](const QByteArray& target) -> FakeHttpServer::Reply {
            if (target.startsWith("/ws/2/discid/"))
                return {200, releases, "application/json", 0};
            return {404, "Not Found", "text/plain", 0};
        };
        const QStringList add =
            QStringList{"add-cd", m_data, m_images[1], "--type", "CD"} + musicBrainzArgs(web);
        const ProcessRun first = runTool(add);
        QVERIFY2(first.exitCode == 0, qPrintable(first.err));
        const QString shown = runTool({"show", m_data, "1"}).out;
        QVERIFY2(shown.contains("Kennung musicbrainz:release: "
                                "11111111-aaaa-4bbb-8ccc-000000000001\n"
                                "Kennung musicbrainz:release-group: "
                                "22222222-aaaa-4bbb-8ccc-000000000001\n"),
                 qPrintable(shown));
        const ProcessRun again = runTool(add + args);
        QVERIFY2(again.exitCode == exitCode, qPrintable(again.err));
        QCOMPARE(again.err, message);
        QCOMPARE(count("MUSIKKOP"), exitCode == 0 ? 2 : 1);
        QCOMPARE(count("MUSIKEXT"), exitCode == 0 ? 3 + args.contains("--allow-duplicate") : 2);
    }

    void showUnknown() {
        const ProcessRun run = runTool({"show", m_data, "5"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("Den Tonträger Nr. 5 gibt es nicht.")));
    }
};

QTEST_GUILESS_MAIN(TestCatalogueTool)
#include "tst_cataloguetool.moc"
