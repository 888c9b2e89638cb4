// The total-time check: playing-time addition, whole hundredths, taking values over.
#include "carrierfixture.h"
#include "core/catalogue/timecheck.h"
#include "core/db/dataset.h"

#include <QTemporaryDir>
#include <QTest>

class TestTimeCheck : public QObject {
    Q_OBJECT

private slots:
    void compare_data() {
        QTest::addColumn<double>("entered");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QList<double>>("songs");
        QTest::addColumn<double>("computed");
        QTest::addColumn<bool>("timeDiffers");
        QTest::addColumn<bool>("countDiffers");
        QTest::newRow("equal") << 6.15 << qint64(2) << QList<double>{3.45, 2.30} << 6.15 << false
                               << false;
        QTest::newRow("one hundredth off")
            << 6.14 << qint64(2) << QList<double>{3.45, 2.30} << 6.15 << true << false;
        QTest::newRow("count off")
            << 6.15 << qint64(3) << QList<double>{3.45, 2.30} << 6.15 << false << true;
        QTest::newRow("no songs") << 0.0 << qint64(0) << QList<double>{} << 0.0 << false << false;
        QTest::newRow("seconds carry over")
            << 1.40 << qint64(3) << QList<double>{0.1, 0.2, 0.7} << 1.40 << false << false;
    }
    void compare() {
        QFETCH(double, entered);
        QFETCH(qint64, count);
        QFETCH(QList<double>, songs);
        QFETCH(double, computed);
        QFETCH(bool, timeDiffers);
        QFETCH(bool, countDiffers);
        const timecheck::Result r =
            timecheck::compute(entered, count, std::vector<double>(songs.begin(), songs.end()));
        QCOMPARE(qRound(r.computedTime * 100), qRound(computed * 100));
        QCOMPARE(r.timeDiffers(), timeDiffers);
        QCOMPARE(r.countDiffers(), countDiffers);
    }

    void takesOverOnlyWhatWasTicked() {
        QTemporaryDir dir;
        dataset::create(dir.path());
        Database db;
        db.open(dataset::databasePath(dir.path()));
        addCarrier(db, CarrierSpec(1, QStringLiteral("A")));
        db.exec(
            u"UPDATE MUSIKKOP SET \"Laufzeit der Schallplatte\" = 6.14, \"Anzahl der Lieder\" = 5");
        addSong(db, 1, 1, 1, QStringLiteral("a"), 3.45);
        addSong(db, 1, 1, 2, QStringLiteral("b"), 2.30);
        const auto r = timecheck::forCarrier(db, 1);
        QVERIFY(r && r->timeDiffers() && r->countDiffers());
        timecheck::apply(db, 1, *r, false, true);
        const auto after = timecheck::forCarrier(db, 1);
        QCOMPARE(after->enteredCount, 2);
        QCOMPARE(after->enteredTime, 6.14);
        QVERIFY(!timecheck::forCarrier(db, 99));
    }
};

QTEST_GUILESS_MAIN(TestTimeCheck)
#include "tst_timecheck.moc"
