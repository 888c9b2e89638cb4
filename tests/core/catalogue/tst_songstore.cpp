#include "core/catalogue/carrierstore.h"
#include "core/catalogue/songstore.h"
#include "core/db/recordaccess.h"
#include "support/appstatefixture.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
const QDate kToday(2026, 12, 10);
}

class TestSongStore : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    int m_carrier = 0;
    CarrierRecord m_record;
    Database& db() { return m_state->db; }

    void addSongs(int count) {
        SongStore store(db());
        for (int i = 1; i <= count; ++i) {
            SongData d = SongStore::firstSong(m_record);
            d.song.nrDesLiedes = i;
            d.song.zaehlwerkstandBis = i == count ? 230 : 0;
            store.save(m_carrier, d, std::nullopt, kToday);
        }
    }

private slots:
    void init() {
        m_state.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->path());
        QVERIFY(m_state);
        CarrierData d = CarrierStore::newCarrier(Settings(), kToday.addDays(-5));
        d.carrier.gruppeInterpretText1 = QStringLiteral("Gruppe");
        d.carrier.artDerSchallplatte = 1;
        d.carrier.musikrichtung = 3;
        d.carrier.erscheinungsjahr = QStringLiteral("1984");
        m_carrier = CarrierStore(db()).saveNew(d, nullptr, false, kToday.addDays(-5));
        m_record = d.carrier;
    }

    void firstSong() {
        const SongData d = SongStore::firstSong(m_record);
        QCOMPARE(d.song.seiteDerSchallplatte, 1.0);
        QCOMPARE(d.song.nrDesLiedes, 1.0);
        QCOMPARE(d.song.interpretDesLiedes, QStringLiteral("Gruppe"));
        QCOMPARE(d.song.musikrichtung, OptNumber(3));
        QCOMPARE(d.song.erscheinungsjahr, QStringLiteral("1984"));
        QCOMPARE(d.info.bpmVon, OptShort(0));
        QCOMPARE(d.info.tanzstil, OptNumber(0));
    }

    void nextSong_data() {
        QTest::addColumn<double>("bis");
        QTest::addColumn<double>("von");
        QTest::newRow("counter 230") << 230.0 << 231.0;
        QTest::newRow("counter 0") << 0.0 << 0.0;
    }
    void nextSong() {
        QFETCH(double, bis);
        QFETCH(double, von);
        SongRecord last = SongStore::firstSong(m_record).song;
        last.nrDesLiedes = 5;
        last.zaehlwerkstandBis = bis;
        const SongData d = SongStore::nextSong(last, 4);
        QCOMPARE(d.song.nrDesLiedes, 6.0);
        QCOMPARE(d.song.zaehlwerkstandVon, OptNumber(von));
        QCOMPARE(d.song.zaehlwerkstandBis, OptNumber(0));
        QCOMPARE(d.info.tanzstil, OptNumber(4));
    }

    void saveSetsChangeDate() {
        addSongs(1);
        QCOMPARE(CarrierStore(db()).load(m_carrier)->info.changeDate, kToday);
        QCOMPARE(records::count(db(), schema::table(u"MusikPosInformation")), 1);
    }

    void duplicateSongIsKeyViolation() {
        addSongs(2);
        SongData d = SongStore::firstSong(m_record);
        try {
            SongStore(db()).save(m_carrier, d, std::nullopt, kToday);
            QFAIL("saved twice");
        } catch (const DbError& e) {
            QVERIFY(e.isKeyViolation());
        }
        QCOMPARE(records::count(db(), schema::table(u"MUSIKPOS")), 2);
    }

    // The information record moves with a changed side or number.
    void infoFollowsKey() {
        addSongs(1);
        SongStore store(db());
        SongData d{store.songs(m_carrier)[0], store.info(m_carrier, 1, 1)};
        d.info.bpmVon = 120;
        store.save(m_carrier, d, std::pair(1.0, 1.0), kToday);
        d.song.seiteDerSchallplatte = 2;
        d.song.nrDesLiedes = 7;
        store.save(m_carrier, d, std::pair(1.0, 1.0), kToday);
        QCOMPARE(store.info(m_carrier, 2, 7).bpmVon, OptShort(120));
        QCOMPARE(records::count(db(), schema::table(u"MusikPosInformation")), 1);
        QCOMPARE(store.songs(m_carrier).size(), size_t(1));
    }

    // Deleting song 3 of 5 keeps the numbers; the next proposal is 6.
    void deleteKeepsNumbers() {
        addSongs(5);
        SongStore store(db());
        store.remove(m_carrier, 1, 3);
        const auto songs = store.songs(m_carrier);
        QList<double> numbers;
        for (const SongRecord& s : songs)
            numbers.append(s.nrDesLiedes);
        QCOMPARE(numbers, QList<double>({1, 2, 4, 5}));
        QCOMPARE(SongStore::nextSong(songs.back(), 0).song.nrDesLiedes, 6.0);
        QCOMPARE(records::count(db(), schema::table(u"MusikPosInformation")), 4);
    }
};

QTEST_GUILESS_MAIN(TestSongStore)
#include "tst_songstore.moc"
