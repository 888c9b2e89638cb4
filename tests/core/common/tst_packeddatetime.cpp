#include "core/common/packeddatetime.h"

#include <QTest>

class TestPackedDateTime : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data() {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<bool>("negative");
        QTest::newRow("first day") << QDateTime(QDate(1980, 1, 1), QTime(0, 0)) << false;
        QTest::newRow("typical") << QDateTime(QDate(2026, 12, 9), QTime(23, 59, 58)) << false;
        QTest::newRow("last positive")
            << QDateTime(QDate(2043, 12, 31), QTime(23, 59, 58)) << false;
        QTest::newRow("2044 is negative") << QDateTime(QDate(2044, 1, 1), QTime(0, 0)) << true;
        QTest::newRow("last day") << QDateTime(QDate(2099, 12, 31), QTime(12, 30, 10)) << true;
    }
    void roundTrip() {
        QFETCH(QDateTime, moment);
        QFETCH(bool, negative);
        const qint32 packed = packeddatetime::pack(moment);
        QCOMPARE(packed < 0, negative);
        QCOMPARE(packeddatetime::unpack(packed), moment);
    }

    void layout() {
        // 09.12.2026 14:35:17 -> date (46<<9 | 12<<5 | 9), time (14<<11 | 35<<5 | 8)
        const qint32 packed =
            packeddatetime::pack(QDateTime(QDate(2026, 12, 9), QTime(14, 35, 17)));
        QCOMPARE(quint32(packed) >> 16, (46u << 9) | (12u << 5) | 9u);
        QCOMPARE(quint32(packed) & 0xFFFF, (14u << 11) | (35u << 5) | 8u);
    }

    void outOfRange_data() {
        QTest::addColumn<QDateTime>("moment");
        QTest::newRow("1979") << QDateTime(QDate(1979, 12, 31), QTime(23, 59));
        QTest::newRow("2100") << QDateTime(QDate(2100, 1, 1), QTime(0, 0));
        QTest::newRow("invalid") << QDateTime();
    }
    void outOfRange() {
        QFETCH(QDateTime, moment);
        QCOMPARE(packeddatetime::pack(moment), 0);
    }

    void unpackRejectsGarbage() {
        QVERIFY(!packeddatetime::unpack(0).isValid()); // day 0, month 0
        QVERIFY(!packeddatetime::unpack(qint32(0x7FFFFFFF)).isValid());
    }
};

QTEST_GUILESS_MAIN(TestPackedDateTime)
#include "tst_packeddatetime.moc"
