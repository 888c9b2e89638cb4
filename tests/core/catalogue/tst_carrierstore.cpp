#include "core/catalogue/carrierstore.h"
#include "core/catalogue/cataloguetexts.h"
#include "core/db/recordaccess.h"
#include "support/appstatefixture.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QDate kToday(2026, 12, 10);

CarrierData carrier(const QString& group, double type = 1, double number = 0) {
    Settings settings;
    CarrierData d = CarrierStore::newCarrier(settings, kToday);
    d.carrier.gruppeInterpretText1 = group;
    d.carrier.text2 = QStringLiteral("Titel");
    d.carrier.artDerSchallplatte = type;
    d.carrier.nummerierung = number;
    return d;
}

void insertCarrier(Database& db, double number, const QString& group) {
    CarrierRecord c;
    c.gruppeInterpretText1 = group;
    c.folgenummerKopf = number;
    c.artDerSchallplatte = 1;
    records::insert(db, c);
}

CdReading twoDiscs(int first, int second, bool firstFound, bool secondFound) {
    CdReading r;
    for (int disc = 1; disc <= 2; ++disc) {
        const int n = disc == 1 ? first : second;
        const bool found = disc == 1 ? firstFound : secondFound;
        for (int i = 0; i < n; ++i) {
            r.tracks.append({qint16(disc), i != n - 1 || disc != 2, 3.0 + i / 100.0});
            if (found)
                r.trackTitles.append(
                    TCDTitleList{QStringLiteral("Artist %1").arg(disc),
                                 QStringLiteral("Song %1-%2").arg(disc).arg(i + 1)});
            else
                r.trackTitles.append(std::nullopt);
        }
        r.codes.append({qint16(disc), disc == 1 ? 0x9A0B1C02u : 0x0102030Au});
    }
    r.found = firstFound || secondFound;
    r.textLines = {QStringLiteral("Zeile 1"), QStringLiteral("Zeile 2")};
    return r;
}

} // namespace

class TestCarrierStore : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    Database& db() { return m_state->db; }

private slots:
    void init() {
        m_state.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        m_state = openAppState(m_dir->path());
        QVERIFY(m_state);
    }

    void carrierNumbers_data() {
        QTest::addColumn<QList<int>>("present");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty table") << QList<int>{} << 1;
        QTest::newRow("1, 2 and 7") << QList<int>{1, 2, 7} << 8;
    }
    void carrierNumbers() {
        QFETCH(QList<int>, present);
        QFETCH(int, expected);
        for (int n : present)
            insertCarrier(db(), n, QStringLiteral("Vorhanden %1").arg(n));
        CarrierStore store(db());
        CarrierData d = carrier(QStringLiteral("Neu"));
        QCOMPARE(store.saveNew(d, nullptr, false, kToday), expected);
        QCOMPARE(d.carrier.folgenummerKopf, double(expected));
        QCOMPARE(d.info.folgenummerInfo, double(expected));
        QCOMPARE(d.info.creationDate, kToday);
        QCOMPARE(d.info.changeDate, kToday);
        QCOMPARE(d.info.currency, OptLong(1));
    }

    void newCarrierDefaults() {
        Settings settings;
        settings.globalNumbering = true;
        settings.globalNumber = 41;
        settings.currencyNew = 3;
        const CarrierData d = CarrierStore::newCarrier(settings, kToday);
        QCOMPARE(d.carrier.nummerierung, 41.0);
        QCOMPARE(d.carrier.status, OptNumber(1));
        QCOMPARE(d.carrier.kaufdatum, kToday);
        QCOMPARE(d.info.currency, OptLong(3));
        settings.globalNumbering = false;
        QCOMPARE(CarrierStore::newCarrier(settings, kToday).carrier.nummerierung, 0.0);
    }

    // Under global numbering the type's counter stays; per type it advances when above 0.
    void typeCounter_data() {
        QTest::addColumn<bool>("global");
        QTest::addColumn<int>("counter");
        QTest::addColumn<int>("after");
        QTest::newRow("per type, counter 5") << false << 5 << 6;
        QTest::newRow("per type, counter 0") << false << 0 << 0;
        QTest::newRow("global with a typed number") << true << 5 << 5;
    }
    void typeCounter() {
        QFETCH(bool, global);
        QFETCH(int, counter);
        QFETCH(int, after);
        db().exec(QStringLiteral("UPDATE \"MUSIKART\" SET \"Nummerierung\" = %1 WHERE "
                                 "\"Index-Nummer\" = 2")
                      .arg(counter));
        CarrierStore store(db());
        CarrierData d = carrier(QStringLiteral("Gruppe"), 2, 77);
        store.saveNew(d, nullptr, global, kToday);
        QCOMPARE(store.typeCounter(2), after);
        QCOMPARE(d.carrier.nummerierung, 77.0);
    }

    void duplicateKey() {
        CarrierStore store(db());
        CarrierData first = carrier(QStringLiteral("A"));
        store.saveNew(first, nullptr, false, kToday);
        CarrierData second = carrier(QStringLiteral("A"));
        try {
            store.saveNew(second, nullptr, false, kToday);
            QFAIL("saved a duplicate");
        } catch (const DbError& e) {
            QVERIFY(e.isKeyViolation());
        }
        QCOMPARE(records::count(db(), schema::table(u"MUSIKKOP")), 1);
        QCOMPARE(records::count(db(), schema::table(u"MusikInformation")), 1);
        second.carrier.nummerierung = 1;
        QCOMPARE(store.saveNew(second, nullptr, false, kToday), 2);
    }

    void firstSaveWithReading() {
        CarrierStore store(db());
        CarrierData d = carrier(QStringLiteral("Gruppe"));
        d.carrier.erscheinungsjahr = QStringLiteral("1999");
        const CdReading reading = twoDiscs(12, 10, true, true);
        const int number = store.saveNew(d, &reading, false, kToday);
        const auto codes = records::select<DiscCodeRecord>(
            db(), u"WHERE \"Folgenummer Kopf\" = ?1 ORDER BY \"CD Nummer\"", {number});
        QCOMPARE(codes.size(), size_t(2));
        QCOMPARE(codes[0].cdPruefcode, OptNumber(double(qint32(0x9A0B1C02u))));
        QVERIFY(*codes[0].cdPruefcode < 0);
        QCOMPARE(codes[1].cdPruefcode, OptNumber(double(0x0102030A)));
        const auto text = records::find(db(), CarrierTextRecord{double(number), {}});
        QVERIFY(text);
        QCOMPARE(text->freierText, QStringLiteral("Zeile 1\r\nZeile 2"));
        const auto songs = records::select<SongRecord>(
            db(), u"ORDER BY \"Seite der Schallplatte\", \"Nr. des Liedes\"");
        QCOMPARE(songs.size(), size_t(22));
        QCOMPARE(songs[11].seiteDerSchallplatte, 1.0);
        QCOMPARE(songs[11].nrDesLiedes, 12.0);
        QCOMPARE(songs[12].seiteDerSchallplatte, 2.0);
        QCOMPARE(songs[12].nrDesLiedes, 1.0);
        QCOMPARE(songs[12].titelDesLiedes, QStringLiteral("Song 2-1"));
        QCOMPARE(songs[12].interpretDesLiedes, QStringLiteral("Artist 2"));
        QCOMPARE(songs[13].laufzeitDesLiedes, OptNumber(3.01));
        QCOMPARE(songs[0].erscheinungsjahr, QStringLiteral("1999"));
        QCOMPARE(records::count(db(), schema::table(u"MusikPosInformation")), 22);
    }

    // A disc the server did not know keeps its tracks untitled; the next disc's titles stay
    // on that disc.
    void unmatchedFirstDisc() {
        CarrierStore store(db());
        CarrierData d = carrier(QStringLiteral("Gruppe"));
        CdReading reading = twoDiscs(3, 2, false, true);
        reading.tracks[1].audio = false;
        store.saveNew(d, &reading, false, kToday);
        const auto songs = records::select<SongRecord>(
            db(), u"ORDER BY \"Seite der Schallplatte\", \"Nr. des Liedes\"");
        QCOMPARE(songs.size(), size_t(5));
        QCOMPARE(songs[0].titelDesLiedes, QString());
        QCOMPARE(songs[0].interpretDesLiedes, QStringLiteral("Gruppe"));
        QCOMPARE(songs[1].titelDesLiedes, QStringLiteral("Data-Track"));
        QCOMPARE(songs[3].titelDesLiedes, QStringLiteral("Song 2-1"));
    }

    void nothingFoundStoresCodesOnly() {
        CarrierStore store(db());
        CarrierData d = carrier(QStringLiteral("Gruppe"));
        const CdReading reading = twoDiscs(3, 2, false, false);
        store.saveNew(d, &reading, false, kToday);
        QCOMPARE(records::count(db(), schema::table(u"MUSIKINF")), 2);
        QCOMPARE(records::count(db(), schema::table(u"MUSIKPOS")), 0);
        QCOMPARE(records::count(db(), schema::table(u"MUSIKTXT")), 0);
    }

    void failureMidSaveLeavesNothing() {
        db().exec(u"CREATE TRIGGER fail AFTER INSERT ON \"MusikPosInformation\" "
                  u"WHEN NEW.\"Nr. des Liedes\" = 3 BEGIN SELECT RAISE(ABORT, 'Platte voll'); END");
        db().exec(u"UPDATE \"MUSIKART\" SET \"Nummerierung\" = 5 WHERE \"Index-Nummer\" = 1");
        CarrierStore store(db());
        CarrierData d = carrier(QStringLiteral("Gruppe"));
        const CdReading reading = twoDiscs(4, 2, true, true);
        try {
            store.saveNew(d, &reading, false, kToday);
            QFAIL("no error");
        } catch (const DbError& e) {
            QVERIFY(!e.isKeyViolation());
            QVERIFY(e.message().contains(QStringLiteral("Platte voll")));
        }
        for (const char* table : {"MUSIKKOP", "MusikInformation", "MUSIKINF", "MUSIKTXT",
                                  "MUSIKPOS", "MusikPosInformation"})
            QCOMPARE(records::count(db(), schema::table(QString::fromLatin1(table))), 0);
        QCOMPARE(store.typeCounter(1), 5);
        QCOMPARE(d.carrier.folgenummerKopf, 0.0);
    }

    // Later saves go through saveExisting, which writes no codes, text or songs; the
    // carrier is found by its number though its key fields change.
    void laterSave() {
        CarrierStore store(db());
        CarrierData d = carrier(QStringLiteral("Gruppe"));
        const CdReading reading = twoDiscs(2, 1, true, true);
        const int number = store.saveNew(d, &reading, false, kToday);
        d.carrier.gruppeInterpretText1 = QStringLiteral("Andere Gruppe");
        d.info.firma = QStringLiteral("Label");
        store.saveExisting(number, d, d.carrier.status, kToday.addDays(1));
        QCOMPARE(records::count(db(), schema::table(u"MUSIKINF")), 2);
        QCOMPARE(records::count(db(), schema::table(u"MUSIKPOS")), 3);
        const auto loaded = store.load(number);
        QVERIFY(loaded);
        QCOMPARE(loaded->carrier.gruppeInterpretText1, QStringLiteral("Andere Gruppe"));
        QCOMPARE(loaded->info.firma, QStringLiteral("Label"));
        QCOMPARE(loaded->info.creationDate, kToday);
        QCOMPARE(loaded->info.changeDate, kToday.addDays(1));
    }

    // A lending done while the window was open survives a save that left the status alone.
    void statusWrittenOnlyWhenChanged() {
        CarrierStore store(db());
        CarrierData d = carrier(QStringLiteral("Gruppe"));
        const int number = store.saveNew(d, nullptr, false, kToday);
        const OptNumber loaded = d.carrier.status;
        db().exec(u"UPDATE \"MUSIKKOP\" SET \"Status\" = -1");
        d.carrier.text2 = QStringLiteral("Neu");
        store.saveExisting(number, d, loaded, kToday);
        QCOMPARE(store.load(number)->carrier.status, OptNumber(-1));
        d.carrier.status = 2;
        store.saveExisting(number, d, loaded, kToday);
        QCOMPARE(store.load(number)->carrier.status, OptNumber(2));
    }

    void existingKeyViolation() {
        CarrierStore store(db());
        CarrierData a = carrier(QStringLiteral("A"));
        CarrierData b = carrier(QStringLiteral("B"));
        store.saveNew(a, nullptr, false, kToday);
        const int nb = store.saveNew(b, nullptr, false, kToday);
        b.carrier.gruppeInterpretText1 = QStringLiteral("A");
        try {
            store.saveExisting(nb, b, b.carrier.status, kToday);
            QFAIL("no error");
        } catch (const DbError& e) {
            QVERIFY(e.isKeyViolation());
        }
        QCOMPARE(store.load(nb)->carrier.gruppeInterpretText1, QStringLiteral("B"));
    }

    void checks_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<double>("type");
        QTest::addColumn<double>("direction");
        QTest::addColumn<double>("status");
        QTest::addColumn<double>("time");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("message");
        using F = CarrierField;
        QTest::newRow("fine") << "G" << 1.0 << 0.0 << 1.0 << 45.59 << int(F::None) << QString();
        QTest::newRow("lent is fine")
            << "G" << 1.0 << 0.0 << -1.0 << 0.0 << int(F::None) << QString();
        QTest::newRow("seconds .60") << "G" << 1.0 << 0.0 << 1.0 << 45.60 << int(F::TotalTime)
                                     << cataloguetexts::kTotalTimeSeconds;
        QTest::newRow("empty group")
            << "" << 1.0 << 0.0 << 1.0 << 0.0 << int(F::Group) << cataloguetexts::kGroupEmpty;
        QTest::newRow("no type") << "G" << 0.0 << 0.0 << 1.0 << 0.0 << int(F::MediaType)
                                 << "Im Feld Art muß ein Wert eingegeben werden!";
        QTest::newRow("unknown direction")
            << "G" << 1.0 << 999.0 << 1.0 << 0.0 << int(F::MusicDirection)
            << "Im Feld Musikrichtung muß ein Wert eingegeben werden!";
        QTest::newRow("unknown status") << "G" << 1.0 << 0.0 << 0.0 << 0.0 << int(F::Status)
                                        << "Im Feld Status muß ein Wert eingegeben werden!";
    }
    void checks() {
        QFETCH(QString, group);
        QFETCH(double, type);
        QFETCH(double, direction);
        QFETCH(double, status);
        QFETCH(double, time);
        QFETCH(int, field);
        QFETCH(QString, message);
        CarrierRecord c;
        c.gruppeInterpretText1 = group;
        c.artDerSchallplatte = type;
        c.musikrichtung = direction;
        c.status = status;
        c.laufzeitDerSchallplatte = time;
        const CarrierCheck result = CarrierStore(db()).check(c);
        QCOMPARE(int(result.field), field);
        QCOMPARE(result.message, message);
    }
};

QTEST_GUILESS_MAIN(TestCarrierStore)
#include "tst_carrierstore.moc"
