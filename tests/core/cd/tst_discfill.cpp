#include "core/cd/discfill.h"
#include "core/db/database.h"
#include "core/db/dataset.h"

#include <QTemporaryDir>
#include <QTest>

// Year and music direction from a look-up, against the delivered data set.
class TestDiscFill : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

private slots:
    void initTestCase() {
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
    }

    void releaseYears_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("lookedUp");
        QTest::addColumn<QString>("kept");
        QTest::newRow("empty carrier takes the year") << ""
                                                      << "1984"
                                                      << "1984";
        QTest::newRow("the carrier's own year stays") << "1979"
                                                      << "1984"
                                                      << "1979";
        QTest::newRow("no year looked up") << ""
                                           << ""
                                           << "";
        QTest::newRow("not a year") << ""
                                    << "84"
                                    << "";
    }
    void releaseYears() {
        QFETCH(QString, current);
        QFETCH(QString, lookedUp);
        QFETCH(QString, kept);
        QCOMPARE(discfill::releaseYear(current, lookedUp), kept);
    }

    void musicDirections_data() {
        QTest::addColumn<QString>("genre");
        QTest::addColumn<int>("index"); // -1: none
        QTest::newRow("short name") << "Rock" << 2;
        QTest::newRow("long name, other letter case") << "deutscher schlager" << 3;
        QTest::newRow("umlaut in another letter case") << "HÖRSPIEL" << 26;
        QTest::newRow("unknown genre") << "Vaporwave" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void musicDirections() {
        QFETCH(QString, genre);
        QFETCH(int, index);
        const qint64 before = m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKDIR\"").toLongLong();
        const auto found = discfill::musicDirectionFor(m_db, genre);
        QCOMPARE(found.has_value(), index >= 0);
        if (found)
            QCOMPARE(*found, qint64(index));
        QCOMPARE(m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKDIR\"").toLongLong(), before);
    }
};

QTEST_GUILESS_MAIN(TestDiscFill)
#include "tst_discfill.moc"
