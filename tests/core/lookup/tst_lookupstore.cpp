#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookupstore.h"

#include <QTemporaryDir>
#include <QTest>

class TestLookupStore : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
    int m_count = 0;

    void addEntry(int kind, double key, const QString& name = QStringLiteral("Eintrag")) {
        LookupRecord r;
        r.indexNummer = key;
        r.kurzbezeichnung = name.left(10);
        r.langbezeichnung = name;
        r.nummerierung = 0;
        records::insert(*m_db, r, schema::table(lookup::kindInfo(kind).table));
    }
    void addCarrier(double key, double art, double status, double direction) {
        CarrierRecord c;
        c.folgenummerKopf = key;
        c.artDerSchallplatte = art;
        c.status = status;
        c.musikrichtung = direction;
        records::insert(*m_db, c);
    }

private slots:
    void initTestCase() {
        Database db;
        db.open(m_dir.filePath(QStringLiteral("empty.db")), Database::OpenMode::CreateIfMissing);
        dataset::createSchema(db);
    }
    void init() {
        // Every test starts from a copy of one empty data set; creating it each time is slow.
        const QString path = m_dir.filePath(QStringLiteral("%1.db").arg(++m_count));
        QVERIFY(QFile::copy(m_dir.filePath(QStringLiteral("empty.db")), path));
        m_db = std::make_unique<Database>();
        m_db->open(path);
    }
    void cleanup() { m_db.reset(); }

    void parseKind_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::newRow("number") << "2" << 2;
        QTest::newRow("out of range") << "8" << -1;
        QTest::newRow("states by name") << "musiksta.db" << 1;
        QTest::newRow("directions without extension") << "MUSIKDIR" << 2;
        QTest::newRow("video") << "videosprachen" << 7;
        QTest::newRow("currencies") << "Currency" << int(lookup::kCurrencies);
        QTest::newRow("other table") << "MUSIKKOP" << -1;
        QTest::newRow("unknown") << "xyz" << -1;
    }
    void parseKind() {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QCOMPARE(lookup::parseKind(text), kind);
    }

    // Which rows make entry 5 of a kind count as in use.
    void inUse_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("inUse");
        QTest::newRow("media type unused") << 0 << "carrier-other" << false;
        QTest::newRow("media type on a carrier") << 0 << "carrier" << true;
        QTest::newRow("state on a carrier") << 1 << "carrier" << true;
        QTest::newRow("state held by an open lending") << 1 << "open-lending" << true;
        QTest::newRow("state of a returned lending") << 1 << "returned-lending" << false;
        QTest::newRow("direction on a carrier") << 2 << "carrier" << true;
        QTest::newRow("direction on a song only") << 2 << "song" << true;
        QTest::newRow("direction unused") << 2 << "carrier-other" << false;
        QTest::newRow("dance style on a song") << 3 << "songinfo" << true;
        QTest::newRow("dance style unused") << 3 << "carrier" << false;
        QTest::newRow("video entry numbered like a media type") << 4 << "carrier" << false;
        QTest::newRow("video language") << 7 << "carrier" << false;
    }
    void inUse() {
        QFETCH(int, kind);
        QFETCH(QString, fixture);
        QFETCH(bool, inUse);
        addEntry(kind, 5);
        if (fixture == QLatin1String("carrier"))
            addCarrier(1, 5, 5, 5);
        if (fixture == QLatin1String("carrier-other"))
            addCarrier(1, 6, 6, 6);
        if (fixture.endsWith(QLatin1String("lending"))) {
            addCarrier(1, 1, -1, 1);
            LendingRecord l;
            l.tontraegernummer = 1;
            l.verleihstatus = fixture.startsWith(QLatin1String("open")) ? 1 : 0;
            l.folgenummer = 1;
            l.statusAlt = 5;
            records::insert(*m_db, l);
        }
        if (fixture == QLatin1String("song")) {
            SongRecord s;
            s.folgenummerPosition = 1;
            s.nrDesLiedes = 1;
            s.musikrichtung = 5;
            records::insert(*m_db, s);
        }
        if (fixture == QLatin1String("songinfo")) {
            SongInfoRecord s;
            s.folgenummerPosInfo = 1;
            s.nrDesLiedes = 1;
            s.tanzstil = 5;
            records::insert(*m_db, s);
        }
        LookupStore store(*m_db, kind);
        QCOMPARE(store.isInUse(5), inUse);
        QCOMPARE(store.state(5), inUse ? EntryState::InUse : EntryState::Free);
        QCOMPARE(store.remove(5), inUse ? DeleteOutcome::InUse : DeleteOutcome::Deleted);
        QCOMPARE(bool(store.find(5)), inUse);
    }

    void reservedRowsAreKept() {
        addEntry(1, -1, QStringLiteral("Verliehen"));
        addEntry(1, 0, QStringLiteral("Null"));
        LookupStore store(*m_db, 1);
        QCOMPARE(store.state(-1), EntryState::Reserved);
        QCOMPARE(store.remove(-1), DeleteOutcome::Reserved);
        QCOMPARE(store.remove(0), DeleteOutcome::Reserved);
        QCOMPARE(store.list().size(), size_t(2));
    }

    void numbering_data() {
        QTest::addColumn<QList<double>>("keys");
        QTest::addColumn<double>("deleted");
        QTest::addColumn<double>("next");
        QTest::newRow("empty") << QList<double>{} << 0.0 << 1.0;
        QTest::newRow("after the highest") << QList<double>{1, 2, 7} << 0.0 << 8.0;
        QTest::newRow("highest deleted is reused") << QList<double>{1, 2, 7} << 7.0 << 3.0;
        QTest::newRow("only the lent state") << QList<double>{-1} << 0.0 << 1.0;
    }
    void numbering() {
        QFETCH(QList<double>, keys);
        QFETCH(double, deleted);
        QFETCH(double, next);
        for (double k : keys)
            addEntry(1, k);
        LookupStore store(*m_db, 1);
        if (deleted != 0)
            QCOMPARE(store.remove(deleted), DeleteOutcome::Deleted);
        LookupEntry e;
        e.shortName = QStringLiteral("Neu");
        e.longName = QStringLiteral("Neuer Eintrag");
        e.numbering = 99; // only media types keep a numbering
        QCOMPARE(store.save(e), next);
        const auto saved = store.find(next);
        QVERIFY(saved);
        QCOMPARE(saved->langbezeichnung, e.longName);
        QCOMPARE(saved->nummerierung, OptNumber(0));
    }

    void videoKindsListByShortName() {
        addEntry(4, 1, QStringLiteral("Zeichentrick"));
        addEntry(4, 2, QStringLiteral("Ärzte"));
        addEntry(4, 3, QStringLiteral("krimi"));
        LookupStore store(*m_db, 4);
        QStringList names;
        for (const LookupRecord& r : store.list())
            names.append(r.kurzbezeichnung);
        QCOMPARE(names, (QStringList{QStringLiteral("Ärzte"), QStringLiteral("krimi"),
                                     QStringLiteral("Zeichentri")}));
        QCOMPARE(store.listByKey().front().indexNummer, 1.0);
    }

    void mediaTypeSavesAndDeletesItsCover() {
        LookupStore store(*m_db, 0);
        LookupEntry e;
        e.shortName = QStringLiteral("CD");
        e.longName = QStringLiteral("Compact Disc");
        e.numbering = 10;
        e.cover = defaultCoverLayout(0);
        e.cover->leerzeilenVor = 7;
        const double key = store.save(e);
        QCOMPARE(key, 1.0);
        QCOMPARE(store.find(key)->nummerierung, OptNumber(10));
        QCOMPARE(store.findCover(key)->leerzeilenVor, OptShort(7));
        QCOMPARE(store.remove(key), DeleteOutcome::Deleted);
        QVERIFY(!store.findCover(key));
    }

    void otherKindsLeaveCoversAlone() {
        addEntry(1, 3);
        records::insert(*m_db, defaultCoverLayout(3));
        QCOMPARE(LookupStore(*m_db, 1).remove(3), DeleteOutcome::Deleted);
        QVERIFY(LookupStore(*m_db, 0).findCover(3));
    }

    void failingCoverInsertLeavesNoMediaType() {
        m_db->exec(u"CREATE TRIGGER refuse BEFORE INSERT ON \"MUSIKCOV\" "
                   u"BEGIN SELECT RAISE(ABORT, 'Platte voll'); END");
        LookupStore store(*m_db, 0);
        LookupEntry e;
        e.longName = QStringLiteral("Compact Disc");
        e.cover = defaultCoverLayout(0);
        try {
            store.save(e);
            QFAIL("the save should have failed");
        } catch (const DbError& error) {
            QVERIFY(error.message().contains(QLatin1String("Platte voll")));
        }
        QVERIFY(store.list().empty());
    }

    // The entry window advances the counter while the media type's window is open.
    void staleNumberingIsNotWritten() {
        LookupRecord r;
        r.indexNummer = 1;
        r.langbezeichnung = QStringLiteral("Langspielplatte");
        r.nummerierung = 1;
        records::insert(*m_db, r, schema::table(u"MUSIKART"));
        LookupStore store(*m_db, 0);
        LookupEntry e;
        e.key = 1;
        e.longName = QStringLiteral("LP");
        r.nummerierung = 42; // the carrier entry window numbered carriers meanwhile
        records::update(*m_db, r, r, schema::table(u"MUSIKART"));
        store.save(e);
        QCOMPARE(store.find(1)->nummerierung, OptNumber(42));
        QCOMPARE(store.find(1)->langbezeichnung, QStringLiteral("LP"));
        e.numbering = 100;
        store.save(e);
        QCOMPARE(store.find(1)->nummerierung, OptNumber(100));
    }
};

QTEST_GUILESS_MAIN(TestLookupStore)
#include "tst_lookupstore.moc"
