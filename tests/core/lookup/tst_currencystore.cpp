#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/lookup/currencystore.h"
#include "core/lookup/priceconversion.h"
#include "core/settings/settings.h"

#include <QTemporaryDir>
#include <QTest>

class TestCurrencyStore : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
    Settings m_settings; // "New" 1, "Old" 2, changeover on 01.01.2002
    int m_count = 0;

    void addCurrency(qint32 key, OptNumber factor, const QString& name = QStringLiteral("X")) {
        CurrencyRecord c;
        c.index = key;
        c.currency = name;
        c.currencyLong = name;
        c.factor = factor;
        records::insert(*m_db, c);
    }

private slots:
    void initTestCase() {
        Database db;
        db.open(m_dir.filePath(QStringLiteral("empty.db")), Database::OpenMode::CreateIfMissing);
        dataset::createSchema(db);
    }
    void init() {
        m_settings = Settings();
        // Every test starts from a copy of one empty data set; creating it each time is slow.
        const QString path = m_dir.filePath(QStringLiteral("%1.db").arg(++m_count));
        QVERIFY(QFile::copy(m_dir.filePath(QStringLiteral("empty.db")), path));
        m_db = std::make_unique<Database>();
        m_db->open(path);
    }
    void cleanup() { m_db.reset(); }

    void inUse_data() {
        QTest::addColumn<qint32>("key");
        QTest::addColumn<bool>("onCarrier");
        QTest::addColumn<EntryState>("state");
        QTest::newRow("free") << 3 << false << EntryState::Free;
        QTest::newRow("on a carrier") << 3 << true << EntryState::InUse;
        QTest::newRow("the current currency") << 1 << false << EntryState::InUse;
        QTest::newRow("the old currency") << 2 << false << EntryState::InUse;
        QTest::newRow("reserved") << 0 << false << EntryState::Reserved;
    }
    void inUse() {
        QFETCH(qint32, key);
        QFETCH(bool, onCarrier);
        QFETCH(EntryState, state);
        addCurrency(key, 1);
        if (onCarrier) {
            CarrierInfoRecord info;
            info.folgenummerInfo = 1;
            info.currency = key;
            records::insert(*m_db, info);
        }
        CurrencyStore store(*m_db, m_settings);
        QCOMPARE(store.state(key), state);
        const DeleteOutcome expected = state == EntryState::Free    ? DeleteOutcome::Deleted
                                       : state == EntryState::InUse ? DeleteOutcome::InUse
                                                                    : DeleteOutcome::Reserved;
        QCOMPARE(store.remove(key), expected);
    }

    void numberingAndSaving() {
        CurrencyStore store(*m_db, m_settings);
        CurrencyEntry e;
        e.shortName = QStringLiteral("CHF");
        e.longName = QStringLiteral("Franken");
        e.factor = 1.5;
        QCOMPARE(store.save(e), 1);
        e.key = 1;
        e.factor = 0.5;
        QCOMPARE(store.save(e), 1);
        QCOMPARE(store.find(1)->factor, OptNumber(0.5));
        e.key.reset();
        QCOMPARE(store.save(e), 2);
        QCOMPARE(store.remove(2), DeleteOutcome::InUse); // "Old" is 2
        m_settings.currencyOld = 1;
        QCOMPARE(store.remove(2), DeleteOutcome::Deleted);
        QCOMPARE(store.nextKey(), 2);
    }

    // A price of 100 with "New" 1 at factor 1, "Old" 2 at factor 2.
    void conversion_data() {
        QTest::addColumn<int>("currency"); // -1: empty
        QTest::addColumn<QDate>("bought");
        QTest::addColumn<double>("expected");
        const QDate changeover(2002, 1, 1);
        QTest::newRow("current currency") << 1 << QDate(1990, 1, 1) << 100.0;
        QTest::newRow("factor 2") << 2 << changeover << 50.0;
        QTest::newRow("none, on the changeover day") << -1 << changeover << 100.0;
        QTest::newRow("none, the day before") << -1 << changeover.addDays(-1) << 50.0;
        QTest::newRow("0, the day before") << 0 << changeover.addDays(-1) << 50.0;
        QTest::newRow("none, no purchase date") << -1 << QDate() << 50.0;
        QTest::newRow("unknown currency") << 9 << changeover << 100.0;
        QTest::newRow("factor 0 counts as 1") << 4 << changeover << 100.0;
        QTest::newRow("negative factor counts as 1") << 5 << changeover << 100.0;
        QTest::newRow("empty factor counts as 1") << 6 << changeover << 100.0;
        QTest::newRow("factor 0,5") << 7 << changeover << 200.0;
    }
    void conversion() {
        QFETCH(int, currency);
        QFETCH(QDate, bought);
        QFETCH(double, expected);
        addCurrency(1, 1);
        addCurrency(2, 2);
        addCurrency(4, 0);
        addCurrency(5, -3);
        addCurrency(6, std::nullopt);
        addCurrency(7, 0.5);
        const std::optional<qint32> recorded =
            currency < 0 ? std::nullopt : std::optional<qint32>(currency);
        const priceconversion::Rules rules = priceconversion::load(*m_db, m_settings);
        QCOMPARE(priceconversion::convert(rules, 100, recorded, bought), expected);

        // The SQL form gives the same.
        Statement s = m_db->prepare(QStringLiteral("SELECT ") +
                                    priceconversion::sqlExpression(QStringLiteral(":Price"),
                                                                   QStringLiteral(":Cur"),
                                                                   QStringLiteral(":Bought")));
        s.bind(":Price", 100.0);
        s.bind(":Cur", currency < 0 ? QVariant() : QVariant(currency));
        s.bind(":Bought", bought);
        priceconversion::bind(s, rules);
        QVERIFY(s.next());
        QCOMPARE(s.toDouble(0), expected);
    }
};

QTEST_GUILESS_MAIN(TestCurrencyStore)
#include "tst_currencystore.moc"
