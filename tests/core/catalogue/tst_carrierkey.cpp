// Carrier keys on the command line: "ART:NUMMER" in any case, "#N", several matches refused.
#include "carrierfixture.h"
#include "core/catalogue/carrierkey.h"
#include "core/db/dataset.h"

#include <QTemporaryDir>
#include <QTest>

class TestCarrierKey : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

private slots:
    void initTestCase() {
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
        addCarrier(m_db, CarrierSpec(1, QStringLiteral("Abba")).withTitle(QStringLiteral("Gold")));
        CarrierSpec twin(2, QStringLiteral("Abba"));
        twin.title = QStringLiteral("Arrival");
        addCarrier(m_db, twin); // LP:1 again, another title
        CarrierSpec single(3, QStringLiteral("Cream"));
        single.type = 2;
        single.numbering = 17;
        addCarrier(m_db, single);
    }

    void resolve_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("number"); // 0: refused
        QTest::addColumn<QString>("message");
        QTest::newRow("type and number") << "Single:17" << 3 << "";
        QTest::newRow("any case") << "sINGLE:17" << 3 << "";
        QTest::newRow("carrier number") << "#2" << 2 << "";
        QTest::newRow("ambiguous") << "lp:1" << 0 << "#1 Abba / Gold\n  #2 Abba / Arrival";
        QTest::newRow("unknown") << "LP:99" << 0 << "Kein Tonträger";
        QTest::newRow("unknown number") << "#99" << 0 << "Kein Tonträger";
        QTest::newRow("malformed") << "17" << 0 << "Ungültige Tonträgerangabe";
        QTest::newRow("no type") << ":17" << 0 << "Ungültige Tonträgerangabe";
    }
    void resolve() {
        QFETCH(QString, key);
        QFETCH(int, number);
        QFETCH(QString, message);
        const carrierkey::Result r = carrierkey::resolve(m_db, key);
        QCOMPARE(r.ok(), number != 0);
        if (number)
            QCOMPARE(r.carrier().number, number);
        else
            QVERIFY2(r.error.contains(message), qPrintable(r.error));
    }

    void keyOf() {
        QCOMPARE(carrierkey::keyOf(m_db, 3), QStringLiteral("Single:17"));
        QCOMPARE(carrierkey::keyOf(m_db, 42), QStringLiteral("#42"));
    }
};

QTEST_GUILESS_MAIN(TestCarrierKey)
#include "tst_carrierkey.moc"
