#include "core/catalogue/carrierorigins.h"
#include "core/catalogue/carrierstore.h"
#include "core/catalogue/detailstores.h"
#include "core/catalogue/songstore.h"
#include "core/cd/discfill.h"
#include "core/cd/musicbrainzrelease.h"
#include "core/db/dataset.h"
#include "core/db/statement.h"
#include "core/settings/settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using musicbrainz::ReleaseDetails;

namespace {

QByteArray fixture(const QString& name) {
    QFile file(QStringLiteral(MUSICBRAINZ_FIXTURES) + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ReleaseDetails release(const QString& name) {
    const auto parsed = musicbrainz::parseReleaseReply(fixture(name));
    return parsed.value_or(ReleaseDetails());
}

ReleaseDetails withLabels(const QList<musicbrainz::LabelPair>& labels) {
    ReleaseDetails r;
    r.id = QStringLiteral("x");
    r.labels = labels;
    return r;
}

} // namespace

// A chosen release as a new carrier: fields, songs, type and origins, against the delivered
// data set.
class TestMusicBrainzRelease : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

private slots:
    void initTestCase() {
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
    }

    void target() {
        QCOMPARE(musicbrainz::releaseTarget(QStringLiteral("aaaaaaaa-1111-4222-8333-000000000002")),
                 QStringLiteral("/ws/2/release/aaaaaaaa-1111-4222-8333-000000000002"
                                "?inc=artist-credits+labels+recordings+release-groups&fmt=json"));
    }

    // Lengths as the service sends them, and what no recording can be.
    void trackLengths_data() {
        QTest::addColumn<QByteArray>("length");
        QTest::addColumn<qint64>("ms");
        QTest::newRow("whole") << QByteArray("245600") << qint64(245600);
        QTest::newRow("fraction") << QByteArray("1000.9") << qint64(1000);
        QTest::newRow("null") << QByteArray("null") << qint64(-1);
        QTest::newRow("negative") << QByteArray("-5") << qint64(-1);
        QTest::newRow("beyond any integer") << QByteArray("1.2e81") << qint64(-1);
        QTest::newRow("text") << QByteArray("\"3:45\"") << qint64(-1);
    }
    void trackLengths() {
        QFETCH(QByteArray, length);
        QFETCH(qint64, ms);
        const QByteArray json = R"({"id":"x","title":"T","media":[{"position":1,"tracks":[)"
                                R"({"number":"1","position":1,"title":"S","length":)" +
                                length + "}]}]}";
        const auto parsed = musicbrainz::parseReleaseReply(json);
        QVERIFY(parsed);
        QCOMPARE(parsed->media.value(0).tracks.value(0).lengthMs, ms);
    }

    void mediaTypes_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("groupType");
        QTest::addColumn<QString>("type"); // short name in the delivered list; empty: none
        QTest::newRow("12\" vinyl album") << "12\" Vinyl"
                                          << "Album"
                                          << "LP";
        QTest::newRow("vinyl without size") << "Vinyl"
                                            << ""
                                            << "LP";
        QTest::newRow("12\" vinyl single") << "12\" Vinyl"
                                           << "Single"
                                           << "Maxi";
        QTest::newRow("12\" vinyl EP") << "12\" Vinyl"
                                       << "EP"
                                       << "EP";
        QTest::newRow("7\" vinyl single") << "7\" Vinyl"
                                          << "Single"
                                          << "Single";
        QTest::newRow("7\" vinyl album") << "7\" Vinyl"
                                         << "Album"
                                         << "Single";
        QTest::newRow("7\" vinyl EP") << "7\" Vinyl"
                                      << "ep"
                                      << "EP";
        QTest::newRow("cassette") << "Cassette"
                                  << "Album"
                                  << "MC";
        QTest::newRow("CD") << "CD"
                            << "Single"
                            << "CD";
        QTest::newRow("enhanced CD") << "Enhanced CD"
                                     << "Album"
                                     << "CD";
        QTest::newRow("CD-R") << "CD-R"
                              << "Album"
                              << "CD";
        QTest::newRow("HDCD") << "HDCD"
                              << "Album"
                              << "CD";
        QTest::newRow("SACD by its name") << "SACD"
                                          << "Album"
                                          << "SACD";
        QTest::newRow("by a long name, case aside") << "digital audio tape"
                                                    << ""
                                                    << "DAT";
        QTest::newRow("hybrid SACD: none") << "Hybrid SACD"
                                           << "Album"
                                           << "";
        QTest::newRow("10\" vinyl: none") << "10\" Vinyl"
                                          << "Album"
                                          << "";
        QTest::newRow("VCD is no CD") << "VCD"
                                      << "Album"
                                      << "";
        QTest::newRow("no format") << ""
                                   << "Album"
                                   << "";
    }
    void mediaTypes() {
        QFETCH(QString, format);
        QFETCH(QString, groupType);
        QFETCH(QString, type);
        const qint64 before = m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKART\"").toLongLong();
        const auto found =
            discfill::mediaTypeFor(m_db, musicbrainz::mediaTypeName(format, groupType));
        QString shortName;
        if (found) {
            Statement s = m_db.prepare(
                u"SELECT \"Kurzbezeichnung\" FROM \"MUSIKART\" WHERE \"Index-Nummer\" = ?1");
            s.bind(1, double(*found));
            QVERIFY(s.next());
            shortName = s.toString(0);
        }
        QCOMPARE(shortName, type);
        QCOMPARE(m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKART\"").toLongLong(), before);
    }

    void labelPairs_data() {
        QTest::addColumn<QString>("searched");
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("orderCode");
        QTest::newRow("not searched by number: the first pair") << ""
                                                                << "Polar"
                                                                << "POLS 272";
        QTest::newRow("the searched number") << "2344 058"
                                             << "Polydor"
                                             << "2344 058";
        QTest::newRow("case, blanks and hyphens aside") << "cdp-746208 2"
                                                        << "EMI"
                                                        << "CDP 7 46208 2";
        QTest::newRow("no pair has it: the first") << "XYZ 1"
                                                   << "Polar"
                                                   << "POLS 272";
    }
    void labelPairs() {
        QFETCH(QString, searched);
        QFETCH(QString, company);
        QFETCH(QString, orderCode);
        const auto take = musicbrainz::takeOver(
            withLabels({{"Polar", "POLS 272"}, {"Polydor", "2344 058"}, {"EMI", "CDP 7 46208 2"}}),
            searched);
        QCOMPARE(take.company, company);
        QCOMPARE(take.orderCode, orderCode);
    }

    // Songs "side/number title | interpreter | Laufzeit", totals, type and hint of each fixture.
    void takeOver_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("songs");
        QTest::addColumn<double>("totalTime");
        QTest::addColumn<QString>("typeName");
        QTest::addColumn<QString>("hint");
        QTest::newRow("LP with lettered sides")
            << "release_lp_sides.json"
            << QStringList{"1/1 Morgen | Die Flöten & Hans | 4.06", "1/2 Mittag | Gast | 3",
                           "2/1 Abend | Die Flöten & Hans | 3.2",
                           "2/2 Nacht | Die Flöten & Hans | 1.01",
                           "3/1 Zugabe | Die Flöten & Hans | 1"}
            << 12.27 << "LP"
            << "";
        QTest::newRow("2xLP A-D") << "release_2xlp.json"
                                  << QStringList{"1/1 Eins | Zwei | 2", "1/2 Zwei | Zwei | 2",
                                                 "2/1 Drei | Zwei | 2", "3/1 Vier | Zwei | 2",
                                                 "4/1 Fünf | Zwei | 2", "4/2 Sechs | Zwei | 2"}
                                  << 12.0 << "LP"
                                  << "";
        const QString orchestra =
            QStringLiteral("Orchester der Stadt Musterhausen unter der Leitung");
        QTest::newRow("two CDs") << "release_cd.json"
                                 << QStringList{"1/1 Erste | " + orchestra + " | 1.4",
                                                "1/2 Zweite | " + orchestra + " | 1.4",
                                                "2/1 Dritte | " + orchestra + " | 1.4",
                                                "2/2 Vierte | " + orchestra + " | 1.4",
                                                "2/3 Fünfte | " + orchestra + " | 1.4"}
                                 << 8.2 << "CD"
                                 << "";
        QTest::newRow("no tracks") << "release_notracks.json" << QStringList() << 0.0 << "EP"
                                   << "Zu dieser Ausgabe kennt MusicBrainz keine Lieder.";
    }
    void takeOver() {
        QFETCH(QString, file);
        QFETCH(QStringList, songs);
        QFETCH(double, totalTime);
        QFETCH(QString, typeName);
        QFETCH(QString, hint);
        const ReleaseDetails r = release(file);
        QVERIFY(!r.id.isEmpty());
        const auto take = musicbrainz::takeOver(r, QString());
        QStringList got;
        for (const ReadingSong& s : take.reading.songs)
            got << QStringLiteral("%1/%2 %3 | %4 | %5")
                       .arg(s.side)
                       .arg(s.number)
                       .arg(s.title, s.interpreter)
                       .arg(s.length);
        QCOMPARE(got, songs);
        QCOMPARE(take.reading.totalTracks, int(songs.size()));
        QCOMPARE(take.reading.totalTime, totalTime);
        QCOMPARE(take.typeName, typeName);
        QCOMPARE(take.hint, hint);
        QVERIFY(take.reading.found);
        QCOMPARE(take.reading.origins,
                 (QList<CarrierOrigin>{
                     {carrierorigins::kMusicBrainzRelease, r.id.toLower()},
                     {carrierorigins::kMusicBrainzReleaseGroup, r.releaseGroup.toLower()}}));
    }

    void fieldsAreCut() {
        const auto take = musicbrainz::takeOver(release("release_cd.json"), QString());
        QCOMPARE(take.group.size(), 50);
        QCOMPARE(take.title, QStringLiteral("Die vollständige Sammlung aller Aufnahmen aus den "));
        QCOMPARE(take.year, QStringLiteral("2019"));
        // "[no label]" and "[none]" are the service's words for nothing.
        QCOMPARE(take.company, QString());
        QCOMPARE(take.orderCode, QString());
        const auto sony = musicbrainz::takeOver(release("release_cd.json"),
                                                QStringLiteral("sony music 88985432102 deluxe"));
        QCOMPARE(sony.company, QStringLiteral("Sony Music Entertainment Germa"));
        QCOMPARE(sony.orderCode, QStringLiteral("SONY-MUSIC 88985 432"));
        QCOMPARE(sony.reading.textLines,
                 QStringList{QStringLiteral("Katalognummer: SONY-MUSIC 88985 43210 2 DELUXE")});
        QVERIFY(take.reading.textLines.isEmpty());
    }

    void fillKeepsWhatWasTyped_data() {
        QTest::addColumn<bool>("typed");
        QTest::newRow("new carrier") << false;
        QTest::newRow("fields typed before") << true;
    }
    void fillKeepsWhatWasTyped() {
        QFETCH(bool, typed);
        CarrierData d = CarrierStore::newCarrier(Settings(), QDate(2026, 12, 11));
        if (typed) {
            d.carrier.gruppeInterpretText1 = QStringLiteral("Eigene Gruppe");
            d.carrier.text2 = QStringLiteral("Eigener Titel");
            d.carrier.erscheinungsjahr = QStringLiteral("1977");
            d.carrier.artDerSchallplatte = 6;
            d.info.firma = QStringLiteral("Eigene Firma");
            d.info.bestellcode = QStringLiteral("E 1");
        }
        const auto take = musicbrainz::takeOver(release("release_lp_sides.json"), QString());
        musicbrainz::fillCarrier(m_db, d, take);
        QCOMPARE(d.carrier.gruppeInterpretText1,
                 typed ? QStringLiteral("Eigene Gruppe") : QStringLiteral("Die Flöten & Hans"));
        QCOMPARE(d.carrier.text2,
                 typed ? QStringLiteral("Eigener Titel") : QStringLiteral("Sommer in Köln"));
        QCOMPARE(d.carrier.erscheinungsjahr,
                 typed ? QStringLiteral("1977") : QStringLiteral("1976"));
        QCOMPARE(d.carrier.artDerSchallplatte, typed ? 6.0 : 1.0);
        QCOMPARE(d.info.firma,
                 typed ? QStringLiteral("Eigene Firma") : QStringLiteral("Electrola"));
        QCOMPARE(d.info.bestellcode,
                 typed ? QStringLiteral("E 1") : QStringLiteral("1C 062-12 345"));
        QCOMPARE(d.carrier.anzahlDerLieder, OptNumber(5));
        QCOMPARE(d.carrier.laufzeitDerSchallplatte, OptNumber(12.27));
    }

    // The first save stores the songs on their sides, the free text and the origins.
    void firstSaveStoresIt() {
        auto take = musicbrainz::takeOver(release("release_cd.json"),
                                          QStringLiteral("SONY-MUSIC 88985 43210 2 DELUXE"));
        CarrierData d = CarrierStore::newCarrier(Settings(), QDate(2026, 12, 11));
        musicbrainz::fillCarrier(m_db, d, take);
        const int number = CarrierStore(m_db).saveNew(d, &take.reading, true, QDate(2026, 12, 11));
        QStringList stored;
        for (const SongRecord& s : SongStore(m_db).songs(number))
            stored << QStringLiteral("%1/%2 %3")
                          .arg(s.seiteDerSchallplatte)
                          .arg(s.nrDesLiedes)
                          .arg(s.titelDesLiedes);
        QCOMPARE(stored, (QStringList{"1/1 Erste", "1/2 Zweite", "2/1 Dritte", "2/2 Vierte",
                                      "2/3 Fünfte"}));
        QCOMPARE(CarrierTextStore(m_db).load(number).value_or(QString()),
                 QStringLiteral("Katalognummer: SONY-MUSIC 88985 43210 2 DELUXE"));
        QCOMPARE(carrierorigins::read(m_db, number), take.reading.origins);
        QCOMPARE(d.carrier.artDerSchallplatte, 6.0);
    }

    void notARelease_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("html") << QByteArray("<html>502 Bad Gateway</html>");
        QTest::newRow("error object") << fixture("not_found.json");
        QTest::newRow("cut off") << fixture("release_cd.json").left(300);
    }
    void notARelease() {
        QFETCH(QByteArray, body);
        QVERIFY(!musicbrainz::parseReleaseReply(body));
    }
};

QTEST_GUILESS_MAIN(TestMusicBrainzRelease)
#include "tst_musicbrainzrelease.moc"
