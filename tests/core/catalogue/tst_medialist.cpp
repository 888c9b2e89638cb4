// The carrier list: orders, paging against the whole query, positions and the jump.
#include "carrierfixture.h"
#include "core/catalogue/medialist.h"
#include "core/catalogue/medialistmodel.h"
#include "core/db/dataset.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace medialist;

class TestMediaList : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

    void reset() { m_db.exec(u"DELETE FROM MUSIKKOP; DELETE FROM MusikInformation;"); }
    QList<int> numbers(const Query& q) {
        QList<int> n;
        for (const Row& r : q.rows(0, 100000))
            n.append(r[Number].toInt());
        return n;
    }
    static QString expression(const char* title) {
        for (const GridColumn& c : gridColumns())
            if (c.title == QString::fromUtf8(title))
                return c.sortExpression;
        return QString::fromUtf8(title); // not a column: stands for a stored text
    }

private slots:
    void initTestCase() {
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
        m_db.exec(u"PRAGMA synchronous = OFF"); // many small inserts; durability is not tested here
    }

    void order_data() {
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("default, umlaut as its letter") << QString() << QList<int>{2, 1, 3, 5};
        QTest::newRow("unknown stored text gives default")
            << QStringLiteral("MUSIKKOP.Status; DROP TABLE MUSIKKOP") << QList<int>{2, 1, 3, 5};
        QTest::newRow("Gruppe") << expression("Gruppe") << QList<int>{2, 1, 3, 5};
        QTest::newRow("Titel") << expression("Titel") << QList<int>{2, 3, 5, 1};
        QTest::newRow("Art by short name") << expression("Art") << QList<int>{1, 3, 5, 2};
        QTest::newRow("Kaufpreis, empty first, ties by number")
            << expression("Kaufpreis") << QList<int>{3, 2, 5, 1};
        QTest::newRow("Pressung, no information record first")
            << expression("Pressung") << QList<int>{2, 5, 3, 1};
        QTest::newRow("Währung, unknown and missing first")
            << expression("Währung") << QList<int>{2, 3, 5, 1};
    }
    void order() {
        QFETCH(QString, sort);
        QFETCH(QList<int>, expected);
        reset();
        addCarrier(m_db, CarrierSpec(1, "Ärzte").withTitle("Zeit").withPrice(10).withPressing("B"));
        addCarrier(m_db,
                   CarrierSpec(2, "Abba").withTitle("Gold").withType(2).withPrice(5).withoutInfo());
        addCarrier(m_db,
                   CarrierSpec(3, "beatles").withTitle("Help").withCurrency(99).withPressing("a"));
        addCarrier(m_db, CarrierSpec(4, "Cream").withType(999)); // unknown media type
        addCarrier(m_db,
                   CarrierSpec(5, "Bee Gees").withTitle("Stayin").withPrice(5).withCurrency(2));
        Query q(m_db, sort);
        QCOMPARE(numbers(q), expected);
        QCOMPARE(q.count(), 4);
    }

    // The whole list's count and positions equal the rows of the join, whatever codes lack a
    // lookup row.
    void countEqualsTheJoin_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("all codes known") << QString();
        QTest::newRow("unknown type below, between and above the keys")
            << "UPDATE MUSIKKOP SET \"Art der Schallplatte\" = CASE \"Folgenummer Kopf\" % 3 "
               "WHEN 0 THEN -5 WHEN 1 THEN 1.5 ELSE 999 END WHERE \"Folgenummer Kopf\" % 4 = 0";
        QTest::newRow("NULL and text codes")
            << "UPDATE MUSIKKOP SET \"Musikrichtung\" = NULL WHERE \"Folgenummer Kopf\" % 5 = 0; "
               "UPDATE MUSIKKOP SET \"Status\" = 'x' WHERE \"Folgenummer Kopf\" % 7 = 0";
        QTest::newRow("one carrier missing two lookups")
            << "UPDATE MUSIKKOP SET \"Status\" = 77, \"Musikrichtung\" = 77 "
               "WHERE \"Folgenummer Kopf\" = 3";
        QTest::newRow("a lookup table emptied") << "DELETE FROM MUSIKSTA";
    }
    void countEqualsTheJoin() {
        QFETCH(QString, change);
        reset();
        for (int i = 1; i <= 60; ++i) {
            CarrierSpec c(i, QStringLiteral("G%1").arg(i % 9));
            c.numbering = i % 13;
            c.type = 1 + i % 3;
            addCarrier(m_db, c);
        }
        m_db.exec(u"SAVEPOINT probe");
        if (!change.isEmpty())
            m_db.exec(change);
        for (const QString& sort : {QString(), expression("Nummerierung"), expression("Art")}) {
            const Query query(m_db, sort);
            const std::vector<Row> rows = query.rows(0, 100000);
            QCOMPARE(query.count(), qint64(rows.size()));
            for (size_t i = 0; i < rows.size(); ++i)
                QCOMPARE(query.positionOf(rows[i]), qint64(i));
        }
        m_db.exec(u"ROLLBACK TO probe; RELEASE probe");
    }

    void pagesEqualTheWholeQuery_data() {
        QTest::addColumn<QString>("sort");
        QTest::newRow("default") << QString();
        QTest::newRow("Kaufpreis") << expression("Kaufpreis");
        QTest::newRow("Pressung") << expression("Pressung");
    }
    void pagesEqualTheWholeQuery() {
        QFETCH(QString, sort);
        reset();
        QRandomGenerator rng(7);
        const QStringList groups = {"Abba", "Ärzte", "beatles", "", "Cream", "Öl", "zappa"};
        for (int i = 1; i <= 300; ++i) {
            CarrierSpec c(i, groups[int(rng.bounded(groups.size()))]);
            c.title = QString::number(rng.bounded(5));
            if (rng.bounded(3) != 0)
                c.price = rng.bounded(4);
            c.info = rng.bounded(4) != 0;
            c.pressing = rng.bounded(2) ? QStringLiteral("x") : QString();
            c.numbering = i; // keeps the carrier key unique
            addCarrier(m_db, c);
        }
        auto query = std::make_unique<Query>(m_db, sort);
        const std::vector<Row> all = query->rows(0, 100000);
        MediaListModel model;
        model.setPageSize(7);
        model.setCachedPages(3);
        model.setQuery(std::move(query));
        // The first page comes at once; the count follows from a thread of its own.
        QCOMPARE(model.rowCount(), 7);
        QVERIFY(!model.countKnown() && model.canFetchMore({}));
        QTRY_VERIFY(model.countKnown());
        QCOMPARE(model.rowCount(), int(all.size()));
        // Scrolling before the count arrives reaches the same end.
        MediaListModel scrolled;
        scrolled.setPageSize(7);
        scrolled.setQuery(std::make_unique<Query>(m_db, sort));
        while (scrolled.canFetchMore({}))
            scrolled.fetchMore({});
        QCOMPARE(scrolled.rowCount(), int(all.size()));
        QCOMPARE(scrolled.carrierNumberAt(int(all.size()) - 1), all.back()[Number].toDouble());
        for (int i = 0; i < model.rowCount(); ++i) // forward: pages follow each other
            QCOMPARE(model.carrierNumberAt(i), all[size_t(i)][Number].toDouble());
        for (int n = 0; n < 200; ++n) { // anywhere
            const int i = int(rng.bounded(model.rowCount()));
            QCOMPARE(model.carrierNumberAt(i), all[size_t(i)][Number].toDouble());
            QCOMPARE(model.positionOfCarrier(all[size_t(i)][Number].toDouble()), i);
        }
        QCOMPARE(model.positionOfCarrier(4711), -1);
    }

    void jump_data() {
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("to");
        // Default order: "", Abba, Ärzte, Beatles, Bee Gees, Cream.
        QTest::newRow("A to B") << QString() << "Abba"
                                << "B"
                                << "Beatles";
        QTest::newRow("B walks on") << QString() << "Beatles"
                                    << "B"
                                    << "Bee Gees";
        QTest::newRow("last B returns to first B") << QString() << "Bee Gees"
                                                   << "B"
                                                   << "Beatles";
        QTest::newRow("B to C") << QString() << "Beatles"
                                << "C"
                                << "Cream";
        QTest::newRow("A walks to Ärzte") << QString() << "Abba"
                                          << "A"
                                          << "Ärzte";
        QTest::newRow("Ärzte returns to Abba") << QString() << "Ärzte"
                                               << "A"
                                               << "Abba";
        QTest::newRow("backwards") << QString() << "Cream"
                                   << "A"
                                   << "Abba";
        QTest::newRow("empty group does not block") << QString() << ""
                                                    << "B"
                                                    << "Beatles";
        QTest::newRow("no D: last row") << QString() << "Abba"
                                        << "D"
                                        << "Cream";
        QTest::newRow("digit: first row after it") << QString() << "Cream"
                                                   << "0"
                                                   << "Abba";
        // Price order: Cream 1, Bee Gees 2, Abba 3, Beatles 4, Ärzte 5, "" 6.
        QTest::newRow("price: next B") << "MUSIKKOP.\"Kaufpreis\""
                                       << "Cream"
                                       << "B"
                                       << "Bee Gees";
        QTest::newRow("price: B after B") << "MUSIKKOP.\"Kaufpreis\""
                                          << "Bee Gees"
                                          << "B"
                                          << "Beatles";
        QTest::newRow("price: wraps") << "MUSIKKOP.\"Kaufpreis\""
                                      << "Beatles"
                                      << "B"
                                      << "Bee Gees";
        QTest::newRow("price: A wraps past Ärzte") << "MUSIKKOP.\"Kaufpreis\""
                                                   << "Ärzte"
                                                   << "A"
                                                   << "Abba";
        QTest::newRow("price: no row stays") << "MUSIKKOP.\"Kaufpreis\""
                                             << "Abba"
                                             << "X"
                                             << "Abba";
    }
    void jump() {
        QFETCH(QString, sort);
        QFETCH(QString, from);
        QFETCH(QString, key);
        QFETCH(QString, to);
        reset();
        const QStringList groups = {"Cream", "Bee Gees", "Abba", "Beatles", "Ärzte", ""};
        for (int i = 0; i < groups.size(); ++i)
            addCarrier(m_db, CarrierSpec(i + 1, groups[i]).withPrice(i + 1.0));
        auto query = std::make_unique<Query>(m_db, sort);
        MediaListModel model;
        model.setPageSize(2);
        Query* q = query.get();
        model.setQuery(std::move(query));
        QTRY_VERIFY(model.countKnown());
        const int current = model.positionOfCarrier(groups.indexOf(from) + 1);
        QVERIFY(current >= 0);
        const qint64 target =
            q->jump(current, model.rowAt(current), model.rowAt(current + 1), key.at(0));
        QCOMPARE(model.rowAt(int(target))->at(Group).toString(), to);
    }

    void initials_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("starts");
        QTest::newRow("case") << "abba"
                              << "A" << true;
        QTest::newRow("umlaut") << "Ärzte"
                                << "A" << true;
        QTest::newRow("other letter") << "Beatles"
                                      << "A" << false;
        QTest::newRow("empty") << ""
                               << "A" << false;
        QTest::newRow("z") << "zappa"
                           << "Z" << true;
        QTest::newRow("digit") << "99 Luftballons"
                               << "9" << true;
    }
    void initials() {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(bool, starts);
        QCOMPARE(startsWithInitial(group, key.at(0)), starts);
    }

    void formats() {
        const auto& cols = gridColumns();
        QCOMPARE(displayText(cols[5], 3.45), QStringLiteral("3,45"));
        QCOMPARE(displayText(cols[9], 1234.5), QStringLiteral("1234,50"));
        QCOMPARE(displayText(cols[11], QStringLiteral("2004-12-29")), QStringLiteral("29.12.2004"));
        QCOMPARE(displayText(cols[3], 17.0), QStringLiteral("17"));
        QCOMPARE(displayText(cols[9], QVariant()), QString());
    }
};

QTEST_GUILESS_MAIN(TestMediaList)
#include "tst_medialist.moc"
