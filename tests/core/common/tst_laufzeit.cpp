#include "core/common/laufzeit.h"

#include <QTest>

class TestLaufzeit : public QObject {
    Q_OBJECT
private slots:
    void add_data() {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<QString>("sum");
        QTest::newRow("carry") << 45.30 << 12.45 << "58,15";
        QTest::newRow("exactly sixty seconds") << 0.59 << 0.01 << "1,00";
        QTest::newRow("no carry") << 3.20 << 4.25 << "7,45";
        QTest::newRow("binary fractions") << 0.29 << 0.31 << "1,00";
        QTest::newRow("zero") << 0.0 << 2.05 << "2,05";
        QTest::newRow("large") << 999.59 << 0.59 << "1000,58";
    }
    void add() {
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(QString, sum);
        QCOMPARE(laufzeit::format(laufzeit::add(a, b)), sum);
        QCOMPARE(laufzeit::format(laufzeit::add(b, a)), sum);
    }

    void sumOfManySongsStaysExact() {
        double total = 0;
        for (int i = 0; i < 1000; ++i)
            total = laufzeit::add(total, 0.07);
        QCOMPARE(laufzeit::format(total), QStringLiteral("116,40"));
        QVERIFY(laufzeit::isValid(total));
    }

    void validity_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("valid");
        QTest::newRow("3:45") << 3.45 << true;
        QTest::newRow("59 seconds") << 0.59 << true;
        QTest::newRow("60 seconds") << 0.60 << false;
        QTest::newRow("99 seconds") << 12.99 << false;
        QTest::newRow("negative") << -1.0 << false;
        QTest::newRow("zero") << 0.0 << true;
    }
    void validity() {
        QFETCH(double, value);
        QFETCH(bool, valid);
        QCOMPARE(laufzeit::isValid(value), valid);
    }

    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("formatted");
        QTest::newRow("comma") << "3,45" << true << "3,45";
        QTest::newRow("point") << " 3.45 " << true << "3,45";
        QTest::newRow("minutes only") << "12" << true << "12,00";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("letters") << "3m45" << false << "";
        QTest::newRow("colon") << "4:35" << true << "4,35";
        QTest::newRow("colon one digit") << "4:5" << true << "4,05";
        QTest::newRow("colon seconds over 59") << "4:75" << true << "4,75";
        QTest::newRow("colon no seconds") << "4:" << false << "";
        QTest::newRow("colon no minutes") << ":35" << false << "";
        QTest::newRow("two separators") << "4:3,5" << false << "";
        QTest::newRow("two colons") << "1:04:35" << false << "";
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(QString, formatted);
        const auto value = laufzeit::parse(text);
        QCOMPARE(value.has_value(), ok);
        if (ok)
            QCOMPARE(laufzeit::format(*value), formatted);
    }

    void seconds() {
        QCOMPARE(laufzeit::format(laufzeit::fromSeconds(185)), QStringLiteral("3,05"));
        QCOMPARE(laufzeit::toSeconds(3.05), 185);
    }
};

QTEST_GUILESS_MAIN(TestLaufzeit)
#include "tst_laufzeit.moc"
