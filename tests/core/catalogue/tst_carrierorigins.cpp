// Where a carrier came from, and which carriers the collection may hold already.
#include "carrierfixture.h"
#include "core/catalogue/carrierdelete.h"
#include "core/catalogue/carrierorigins.h"
#include "core/catalogue/carrierstore.h"
#include "core/db/dataset.h"
#include "core/settings/settings.h"

#include <QTemporaryDir>
#include <QTest>

using namespace carrierorigins;

namespace {

const QString kGroup = QStringLiteral("0f3b1a7e-4c2d-4e5f-8a9b-1c2d3e4f5a6b");
const QString kRelease = QStringLiteral("11111111-aaaa-4bbb-8ccc-000000000001");

QString describedAll(const QList<Owned>& owned) {
    QStringList lines;
    for (const Owned& o : owned)
        lines.append(describe(o));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestCarrierOrigins : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    Database m_db;

    qint64 originRows() { return m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKEXT\"").toLongLong(); }
    qint64 carriers() { return m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKKOP\"").toLongLong(); }

    int saveNew(const QString& group, const QString& title, const QList<CarrierOrigin>& origins) {
        CarrierData data = CarrierStore::newCarrier(Settings(), QDate(2026, 12, 11));
        data.carrier.gruppeInterpretText1 = group;
        data.carrier.text2 = title;
        data.carrier.artDerSchallplatte = 1;
        CdReading reading;
        reading.origins = origins;
        return CarrierStore(m_db).saveNew(data, &reading, false, QDate(2026, 12, 11));
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        dataset::create(m_dir->path());
        m_db.open(dataset::databasePath(m_dir->path()));
    }
    void cleanup() { m_db.close(); }

    // Group and title compare as the lists compare them, without their tie-break.
    void groupAndTitle_data() {
        QTest::addColumn<QString>("storedGroup");
        QTest::addColumn<QString>("storedTitle");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("owned");
        QTest::newRow("same") << "Abba"
                              << "Arrival"
                              << "Abba"
                              << "Arrival" << true;
        QTest::newRow("letter case") << "ABBA"
                                     << "arrival"
                                     << "abba"
                                     << "ARRIVAL" << true;
        QTest::newRow("umlaut dots") << "Die Ärzte"
                                     << "Debil"
                                     << "die arzte"
                                     << "DEBIL" << true;
        QTest::newRow("upper-case umlaut") << "ÖSTRO 430"
                                           << "Keine Krise"
                                           << "östro 430"
                                           << "keine krise" << true;
        QTest::newRow("sharp s as ss") << "Straßenjungs"
                                       << "Dauerlauf"
                                       << "STRASSENJUNGS"
                                       << "dauerlauf" << true;
        QTest::newRow("accents") << "Café Tacvba"
                                 << "Re"
                                 << "Cafe Tacvbá"
                                 << "Ré" << true;
        QTest::newRow("outer blanks") << " Abba  "
                                      << "Arrival "
                                      << "Abba"
                                      << "\tArrival" << true;
        QTest::newRow("title cut to its field")
            << "Gruppe" << QString(50, QLatin1Char('t')) << "Gruppe"
            << QString(60, QLatin1Char('t')) << true;
        QTest::newRow("inner blank differs") << "Ab ba"
                                             << "Arrival"
                                             << "Abba"
                                             << "Arrival" << false;
        QTest::newRow("umlaut is not ae") << "Die Ärzte"
                                          << "Debil"
                                          << "Die Aerzte"
                                          << "Debil" << false;
        QTest::newRow("one more letter") << "Abba"
                                         << "Arrival"
                                         << "Abbas"
                                         << "Arrival" << false;
        QTest::newRow("punctuation counts") << "AC/DC"
                                            << "Back in Black"
                                            << "ACDC"
                                            << "Back in Black" << false;
        QTest::newRow("same group, other title") << "Abba"
                                                 << "Arrival"
                                                 << "Abba"
                                                 << "Voulez-Vous" << false;
        QTest::newRow("no title to compare") << "Abba"
                                             << ""
                                             << "Abba"
                                             << "" << false;
        QTest::newRow("blank title") << "Abba"
                                     << " "
                                     << "Abba"
                                     << "  " << false;
    }
    void groupAndTitle() {
        QFETCH(QString, storedGroup);
        QFETCH(QString, storedTitle);
        QFETCH(QString, group);
        QFETCH(QString, title);
        QFETCH(bool, owned);
        addCarrier(m_db, CarrierSpec(17, storedGroup).withTitle(storedTitle));
        addCarrier(m_db, CarrierSpec(18, QStringLiteral("Andere")).withTitle(title));
        const QList<Owned> found = findOwned(m_db, {{}, {}, group, title});
        QCOMPARE(found.size(), owned ? 1 : 0);
        if (owned) {
            QCOMPARE(found.first().number, 17);
            QCOMPARE(found.first().reason, Reason::GroupAndTitle);
        }
    }

    // Each carrier once, with its strongest reason, by number; MBIDs compare in lower case.
    void strongestReasonPerCarrier() {
        addCarrier(m_db, CarrierSpec(3, QStringLiteral("Abba")).withTitle("Arrival"));
        addCarrier(m_db, CarrierSpec(5, QStringLiteral("Abba")).withTitle("Arrival").withType(2));
        addCarrier(m_db, CarrierSpec(9, QStringLiteral("ABBA")).withTitle("Arrival (Deluxe)"));
        addCarrier(m_db, CarrierSpec(12, QStringLiteral("Abba")).withTitle("Arrival").withType(3));
        addCarrier(m_db, CarrierSpec(20, QStringLiteral("Boney M.")).withTitle("Nightflight"));
        Transaction t(m_db);
        write(m_db, 3, {{kMusicBrainzReleaseGroup, kGroup}, {kDiscogsRelease, "249504"}});
        write(m_db, 5, {{kDiscogsRelease, "249504"}});
        write(m_db, 9, {{kMusicBrainzReleaseGroup, kGroup}});
        write(m_db, 20, {{kDiscogsRelease, "1"}});
        t.commit();
        const QList<Owned> found =
            findOwned(m_db, {kGroup.toUpper(), QStringLiteral("249504"), QStringLiteral("abba"),
                             QStringLiteral("arrival")});
        QCOMPARE(describedAll(found),
                 QStringLiteral("Nr. 3 Abba / Arrival (gleiche Discogs-Veröffentlichung)\n"
                                "Nr. 5 Abba / Arrival (gleiche Discogs-Veröffentlichung)\n"
                                "Nr. 9 ABBA / Arrival (Deluxe) (gleiche Veröffentlichungsgruppe)\n"
                                "Nr. 12 Abba / Arrival (gleiche Gruppe und gleicher Titel)"));
        QVERIFY(findOwned(m_db, {}).isEmpty());
    }

    void writtenAsTheServicesWriteThem() {
        addCarrier(m_db, CarrierSpec(4, QStringLiteral("Abba")));
        Transaction t(m_db);
        write(m_db, 4, {{kMusicBrainzRelease, " " + kRelease.toUpper()}, {kDiscogsRelease, ""}});
        // A later write replaces what an earlier carrier of this number left behind.
        write(m_db, 4, {{kMusicBrainzRelease, kRelease}, {kMusicBrainzReleaseGroup, kGroup}});
        t.commit();
        const QList<CarrierOrigin> expected{{kMusicBrainzRelease, kRelease},
                                            {kMusicBrainzReleaseGroup, kGroup}};
        QCOMPARE(read(m_db, 4), expected);
        QVERIFY(read(m_db, 5).isEmpty());
    }

    // The first save writes the origins in its transaction: a failure after them, or in
    // them, leaves neither carrier nor origins.
    void firstSaveAllOrNothing_data() {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("stored") << "";
        QTest::newRow("failure after the origins")
            << "CREATE TRIGGER fail BEFORE UPDATE ON \"MUSIKART\" BEGIN "
               "SELECT RAISE(ABORT, 'Platte voll'); END";
        QTest::newRow("failure in the origins")
            << "CREATE TRIGGER fail BEFORE INSERT ON \"MUSIKEXT\" WHEN NEW.\"Quelle\" = "
               "'musicbrainz:release-group' BEGIN SELECT RAISE(ABORT, 'Platte voll'); END";
    }
    void firstSaveAllOrNothing() {
        QFETCH(QString, trigger);
        m_db.exec(u"UPDATE \"MUSIKART\" SET \"Nummerierung\" = 5 WHERE \"Index-Nummer\" = 1");
        if (!trigger.isEmpty())
            m_db.exec(trigger);
        const QList<CarrierOrigin> origins{{kMusicBrainzRelease, kRelease},
                                           {kMusicBrainzReleaseGroup, kGroup}};
        if (trigger.isEmpty()) {
            const int number = saveNew(QStringLiteral("Abba"), QStringLiteral("Arrival"), origins);
            QCOMPARE(read(m_db, number), origins);
        } else {
            QVERIFY_THROWS_EXCEPTION(DbError, saveNew("Abba", "Arrival", origins));
            QCOMPARE(carriers(), 0);
            QCOMPARE(originRows(), 0);
        }
    }

    void deleteTakesThemAllOrNothing() {
        const int kept = saveNew(QStringLiteral("Abba"), QStringLiteral("Arrival"),
                                 {{kMusicBrainzReleaseGroup, kGroup}});
        const int gone = saveNew(QStringLiteral("Abba"), QStringLiteral("Voulez-Vous"),
                                 {{kDiscogsRelease, QStringLiteral("7")}});
        m_db.exec(u"CREATE TRIGGER refuse BEFORE DELETE ON MUSIKKOP BEGIN "
                  u"SELECT RAISE(ABORT, 'gesperrt'); END");
        QVERIFY_THROWS_EXCEPTION(DbError, carrierdelete::deleteCarrier(m_db, gone));
        QCOMPARE(originRows(), 2);
        m_db.exec(u"DROP TRIGGER refuse");
        carrierdelete::deleteCarrier(m_db, gone);
        QVERIFY(read(m_db, gone).isEmpty());
        QCOMPARE(read(m_db, kept).size(), 1);
        QVERIFY(findOwned(m_db, {{}, QStringLiteral("7"), {}, {}}).isEmpty());
    }

    // An older data set the start-up could not yet complete: reading finds nothing, the
    // check still compares group and title, a delete and a first save create the table.
    void olderDataSetWithoutTable() {
        m_db.exec(u"DROP TABLE \"MUSIKEXT\"");
        addCarrier(m_db, CarrierSpec(2, QStringLiteral("Abba")).withTitle("Arrival"));
        addCarrier(m_db, CarrierSpec(3, QStringLiteral("Boney M.")));
        QVERIFY(read(m_db, 2).isEmpty());
        QCOMPARE(findOwned(m_db, {kGroup, QStringLiteral("1"), "Abba", "Arrival"}).size(), 1);
        carrierdelete::deleteCarrier(m_db, 3);
        QCOMPARE(carriers(), 1);
        const int number = saveNew(QStringLiteral("Abba"), QStringLiteral("Voulez-Vous"),
                                   {{kMusicBrainzReleaseGroup, kGroup}});
        QCOMPARE(read(m_db, number).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestCarrierOrigins)
#include "tst_carrierorigins.moc"
