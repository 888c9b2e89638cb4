#include "core/catalogue/carrierorigins.h"
#include "core/db/database.h"
#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/shell/datadirectorylock.h"
#include "support/fakehttpserver.h"
#include "support/lockholderprocess.h"
#include "support/processrun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray fixture(const QString& name) {
    QFile file(QStringLiteral(MUSICBRAINZ_FIXTURES) + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

FakeHttpServer::Reply json(const QByteArray& body, int status = 200) {
    return {status, body, "application/json", 0};
}

const QByteArray kSearchPath = "/ws/2/release/?";
const QByteArray kJpeg("\xFF\xD8\xFF\xE0 Bild", 9);

} // namespace

// diskarium-tool mbsearch and add --search against a MusicBrainz stand-in on this machine.
class TestMbSearchTool : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeHttpServer> m_web;
    QString m_data;
    QByteArray m_release; // what every release request gets

    QStringList server() const {
        return {"--server", m_web->baseUrl(), "--user", "max@example.org"};
    }
    // The search pages: page 1 and 2 of the fixtures, beyond them an empty page of 27 hits.
    FakeHttpServer::Reply answer(const QByteArray& target) const {
        if (target.startsWith(kSearchPath)) {
            if (target.endsWith("&offset=0"))
                return json(fixture("search_page1.json"));
            if (target.endsWith("&offset=25"))
                return json(fixture("search_page2.json"));
            return json(R"({"count":27,"offset":50,"releases":[]})");
        }
        if (target.startsWith("/ws/2/release/"))
            return json(m_release);
        if (target.endsWith("/front-500"))
            return {200, kJpeg, "image/jpeg", 0};
        return {404, "Not Found", "text/plain", 0};
    }
    QStringList targets() const {
        QStringList list;
        for (const auto& r : m_web->requests())
            list << QString::fromUtf8(r.target);
        return list;
    }
    qint64 carriers() {
        Database db;
        db.open(dataset::databasePath(m_data));
        return db.scalar(u"SELECT COUNT(*) FROM \"MUSIKKOP\"").toLongLong();
    }
    ProcessRun add(const QStringList& more) {
        return runTool(QStringList{"add", m_data, "--search"} + more + server());
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_data = m_dir->filePath("daten");
        dataset::create(m_data);
        m_web = std::make_unique<FakeHttpServer>();
        m_web->handler = [this](const QByteArray& target) { return answer(target); };
        m_release = fixture("release_lp_sides.json");
    }

    void mbsearch_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("lines"); // the first lines of the output
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("requests");
        QTest::newRow("first page")
            << QStringList{"--catno", "A&B+C"} << 0
            << QStringList{"Treffer 1-25 von 27",
                           "1\tAnkunft\tDie Flöten & Hans\t2×12\" Vinyl\tSE\t1976\tPolar / "
                           "Polydor\tPOLS 272 / 2344 058\t7320047010061\t9\t"
                           "cccccccc-0000-4000-8000-000000000001",
                           "2\tMischung\tGruppe 2\t12\" Vinyl + CD\t\t\tOhne Nummer\t\t\t20\t"
                           "cccccccc-0000-4000-8000-000000000002"}
            << 26 << "" << 1;
        QTest::newRow("second page numbered on")
            << QStringList{"--artist", "Gruppe", "--title", "Treffer", "--page", "2"} << 0
            << QStringList{"Treffer 26-27 von 27",
                           "26\tTreffer 26\tGruppe 26\tCD\tDE\t1986\tLabel 26\tKAT 26\t"
                           "4000000000026\t10\tcccccccc-0000-4000-8000-000000000026",
                           "27\tLetzter \"Treffer\"\tGruppe 27\tCD\tDE\t1987\tLabel 27\tKAT 27\t"
                           "4000000000027\t10\tcccccccc-0000-4000-8000-000000000027"}
            << 3 << "" << 1;
        QTest::newRow("beyond the last page")
            << QStringList{"--barcode", "40039940", "--page", "3"} << 1 << QStringList() << 0
            << "Fehler: Die Suche hat nur 27 Treffer." << 1;
        QTest::newRow("bad barcode: nothing sent")
            << QStringList{"--barcode", "123-456"} << 2 << QStringList() << 0
            << "Fehler: Ein Barcode hat 8, 12 oder 13 Ziffern." << 0;
        QTest::newRow("no search")
            << QStringList{"--page", "2"} << 2 << QStringList() << 0 << "Aufruf:" << 0;
        QTest::newRow("artist without title")
            << QStringList{"--artist", "ABBA"} << 2 << QStringList() << 0 << "Aufruf:" << 0;
        QTest::newRow("two searches at once")
            << QStringList{"--barcode", "40039940", "--catno", "X"} << 2 << QStringList() << 0
            << "Aufruf:" << 0;
        QTest::newRow("page 0") << QStringList{"--catno", "X", "--page", "0"} << 2 << QStringList()
                                << 0 << "Aufruf:" << 0;
    }
    void mbsearch() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        QFETCH(int, lineCount);
        QFETCH(QString, error);
        QFETCH(int, requests);
        const ProcessRun run = runTool(QStringList{"mbsearch"} + args + server());
        QCOMPARE(run.exitCode, exitCode);
        const QStringList got = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(got.mid(0, lines.size()), lines);
        QCOMPARE(got.size(), lineCount);
        QVERIFY2(error.isEmpty() ? run.err.isEmpty() : run.err.startsWith(error),
                 qPrintable(run.err));
        QCOMPARE(m_web->requests().size(), requests);
    }

    void queryArrivesAsTyped() {
        QCOMPARE(runTool(QStringList{"mbsearch", "--catno", "A&B+C"} + server()).exitCode, 0);
        QCOMPARE(targets(), QStringList{"/ws/2/release/?query=catno%3A%22A%26B%2BC%22&fmt=json"
                                        "&limit=25&offset=0"});
        QCOMPARE(m_web->requests().first().userAgent,
                 QByteArray("Diskarium/1.5.0 ( max@example.org )"));
    }

    void noHit() {
        m_web->handler = [](const QByteArray&) { return json(fixture("search_none.json")); };
        const ProcessRun run = runTool(QStringList{"mbsearch", "--barcode", "40039940"} + server());
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err.trimmed(),
                 QStringLiteral("Fehler: MusicBrainz kennt dazu keine Ausgabe."));
    }

    // The searched catalogue number picks its label; songs on their sides; origins and cover.
    void addStoresTheRelease() {
        const ProcessRun run =
            add({"--catno", "shvl-801", "--cover", "--cover-server", m_web->baseUrl()});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.out, QStringLiteral("1\n"));
        QCOMPARE(targets(),
                 (QStringList{"/ws/2/release/?query=catno%3A%22shvl-801%22&fmt=json&limit=25"
                              "&offset=0",
                              "/ws/2/release/cccccccc-0000-4000-8000-000000000001"
                              "?inc=artist-credits+labels+recordings+release-groups&fmt=json",
                              "/release/AAAAAAAA-1111-4222-8333-000000000001/front-500"}));
        const QString shown = runTool({"show", m_data, "1"}).out;
        for (const char* line :
             {"Gruppe: Die Flöten & Hans\n", "Titel: Sommer in Köln\n", "Art: 1\n",
              "Anzahl Lieder: 5\n", "Gesamtlaufzeit: 12,27\n", "Erscheinungsjahr: 1976\n",
              "Hersteller: Harvest\n", "Bestellcode: SHVL 801\n",
              "Lied 1/1: Morgen / Die Flöten & Hans 4,06", "Lied 1/2: Mittag / Gast 3,00",
              "Lied 2/2: Nacht / Die Flöten & Hans 1,01",
              "Lied 3/1: Zugabe / Die Flöten & Hans 1,00", "Grafik 1: "})
            QVERIFY2(shown.contains(QString::fromUtf8(line)), line);
        Database db;
        db.open(dataset::databasePath(m_data));
        QCOMPARE(carrierorigins::read(db, 1),
                 (QList<CarrierOrigin>{
                     {carrierorigins::kMusicBrainzRelease, "aaaaaaaa-1111-4222-8333-000000000001"},
                     {carrierorigins::kMusicBrainzReleaseGroup,
                      "bbbbbbbb-1111-4222-8333-000000000001"}}));
    }

    // Candidate N: only its page is asked for.
    void pickFetchesOnlyItsPage() {
        const ProcessRun run = add({"--barcode", "40039940", "--pick", "26"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(targets().size(), 2);
        QVERIFY(targets()[0].endsWith("&offset=25"));
        QVERIFY(targets()[1].startsWith("/ws/2/release/cccccccc-0000-4000-8000-000000000026?"));
    }

    void addRefuses_data() {
        QTest::addColumn<QStringList>("args"); // after the data directory
        QTest::addColumn<QString>("release");  // fixture; "sacd": the CD fixture as Hybrid SACD
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");
        QTest::newRow("beyond the hits")
            << QStringList{"--search", "--barcode", "40039940", "--pick", "28"}
            << "release_lp_sides.json" << 1 << "Fehler: Die Suche hat nur 27 Treffer.";
        QTest::newRow("format without a type")
            << QStringList{"--search", "--barcode", "40039940"} << "sacd" << 1
            << "Fehler: Zum Format „Hybrid SACD“ gibt es keine Tonträgerart; bitte eine mit "
               "--type angeben.";
        QTest::newRow("unknown --type")
            << QStringList{"--search", "--barcode", "40039940", "--type", "Walze"}
            << "release_lp_sides.json" << 1 << "Fehler: Die Tonträgerart Walze gibt es nicht.";
        QTest::newRow("bad barcode")
            << QStringList{"--search", "--barcode", "1234567"} << "release_lp_sides.json" << 2
            << "Fehler: Ein Barcode hat 8, 12 oder 13 Ziffern.";
        QTest::newRow("without --search")
            << QStringList{"--barcode", "40039940"} << "release_lp_sides.json" << 2 << "Aufruf:";
        QTest::newRow("pick 0") << QStringList{"--search", "--barcode", "40039940", "--pick", "0"}
                                << "release_lp_sides.json" << 2 << "Aufruf:";
    }
    void addRefuses() {
        QFETCH(QStringList, args);
        QFETCH(QString, release);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        m_release = release == QLatin1String("sacd")
                        ? fixture("release_cd.json")
                              .replace("\"format\": \"CD\"", "\"format\": \"Hybrid SACD\"")
                        : fixture(release);
        const ProcessRun run = runTool(QStringList{"add", m_data} + args + server());
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.startsWith(error), qPrintable(run.err));
        QCOMPARE(carriers(), 0);
    }

    void typeGivenWins_data() {
        QTest::addColumn<QString>("release");
        QTest::addColumn<QStringList>("type");
        QTest::addColumn<QString>("shown");
        QTest::newRow("LP by its format") << "release_lp_sides.json" << QStringList() << "Art: 1\n";
        QTest::newRow("--type over the format")
            << "release_lp_sides.json" << QStringList{"--type", "mc"} << "Art: 5\n";
        QTest::newRow("EP group") << "release_notracks.json" << QStringList() << "Art: 4\n";
    }
    void typeGivenWins() {
        QFETCH(QString, release);
        QFETCH(QStringList, type);
        QFETCH(QString, shown);
        m_release = fixture(release);
        const ProcessRun run = add(QStringList{"--barcode", "40039940"} + type);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(runTool({"show", m_data, "1"}).out.contains(shown));
    }

    void noTracksIsAHint() {
        m_release = fixture("release_notracks.json");
        const ProcessRun run = add({"--barcode", "40039940"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains(
                     QStringLiteral("Hinweis: Zu dieser Ausgabe kennt MusicBrainz keine Lieder.")),
                 qPrintable(run.err));
        QVERIFY(runTool({"show", m_data, "1"}).out.contains(QStringLiteral("Anzahl Lieder: 0\n")));
    }

    // The same release group again is refused unless asked for.
    void ownedAlready() {
        QCOMPARE(add({"--barcode", "40039940"}).exitCode, 0);
        const ProcessRun again = add({"--barcode", "40039940", "--type", "MC"});
        QCOMPARE(again.exitCode, 1);
        QCOMPARE(again.err.trimmed(),
                 QStringLiteral("Schon vorhanden: Nr. 1 Die Flöten & Hans / Sommer in Köln "
                                "(gleiche Veröffentlichungsgruppe)"));
        QCOMPARE(carriers(), 1);
        const ProcessRun allowed =
            add({"--barcode", "40039940", "--type", "MC", "--allow-duplicate"});
        QCOMPARE(allowed.exitCode, 0);
        QCOMPARE(allowed.out, QStringLiteral("2\n"));
    }

    // A running program's data are not written to; nothing is asked of the service either.
    void refusedWhileTheProgramRuns() {
        LockHolderProcess program(m_data);
        QVERIFY(program.holds());
        const ProcessRun run = add({"--barcode", "40039940"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(DataDirectoryLock::inUseText()), qPrintable(run.err));
        QCOMPARE(m_web->requests().size(), 0);
        QCOMPARE(carriers(), 0);
    }

    // A data set from before the table of origins gets it, without a word about missing files.
    void olderDataSet() {
        {
            Database db;
            db.open(dataset::databasePath(m_data));
            db.exec(u"DROP TABLE \"MUSIKEXT\"");
        }
        const ProcessRun run = add({"--barcode", "40039940"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        Database db;
        db.open(dataset::databasePath(m_data));
        QCOMPARE(carrierorigins::read(db, 1).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestMbSearchTool)
#include "tst_mbsearchtool.moc"
