#include "core/common/germanformat.h"

#include <QTest>

class TestGermanFormat : public QObject {
    Q_OBJECT
private slots:
    void dates_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("full") << "31.12.2001" << QDate(2001, 12, 31);
        QTest::newRow("short parts") << "1.1.1970" << QDate(1970, 1, 1);
        QTest::newRow("no such day") << "31.02.2001" << QDate();
        QTest::newRow("two-digit year") << "01.01.01" << QDate();
        QTest::newRow("iso") << "2001-12-31" << QDate();
        QTest::newRow("empty") << "" << QDate();
        QTest::newRow("signed year") << "16.06.-011" << QDate();
        QTest::newRow("plus sign") << "+1.06.2001" << QDate();
        QTest::newRow("inner blank") << "16. 6.2001" << QDate();
        QTest::newRow("empty day") << ".06.2001" << QDate();
        QTest::newRow("early year") << "16.06.0011" << QDate(11, 6, 16);
    }
    void dates() {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(germanformat::parseDate(text), date);
    }

    void formatDate() {
        QCOMPARE(germanformat::formatDate(QDate(2002, 1, 1)), QStringLiteral("01.01.2002"));
        QCOMPARE(germanformat::formatDate(QDate()), QString());
        // Years outside four digits as Qt writes them.
        for (const QDate d : {QDate(999, 12, 31), QDate(1000, 1, 1), QDate(9999, 12, 31),
                              QDate(10000, 1, 1), QDate(1, 2, 3), QDate(-44, 3, 15)})
            QCOMPARE(germanformat::formatDate(d), d.toString(QStringLiteral("dd.MM.yyyy")));
    }

    void dayNumbers() {
        QCOMPARE(germanformat::dayNumber(QDate(2001, 12, 31)), 37256.0);
        QCOMPARE(germanformat::dateFromDayNumber(37257), QDate(2002, 1, 1));
        QCOMPARE(germanformat::dateFromDayNumber(0), QDate(1899, 12, 30));
    }

    void numbers() {
        QCOMPARE(germanformat::formatNumber(37256), QStringLiteral("37256"));
        QCOMPARE(germanformat::formatNumber(1.95583), QStringLiteral("1,95583"));
        QCOMPARE(germanformat::parseNumber(QStringLiteral("1,5")), 1.5);
        QCOMPARE(germanformat::parseNumber(QStringLiteral("1.5")), 1.5);
        QCOMPARE(germanformat::parseNumber(QStringLiteral("x")), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestGermanFormat)
#include "tst_germanformat.moc"
