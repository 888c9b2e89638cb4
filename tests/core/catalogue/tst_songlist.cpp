// The song list: orders, the stored sort expression, paging and the jump by initial.
#include "core/catalogue/songlist.h"
#include "core/catalogue/songlistmodel.h"
#include "core/db/dataset.h"
#include "searchfixture.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace songlist;

class TestSongList : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

    static QString name(const Row& r) {
        return QStringLiteral("%1/%2/%3")
            .arg(r[Position].toInt())
            .arg(r[Side].toInt())
            .arg(r[SongNumber].toInt());
    }
    static QString expression(const char* title) {
        for (const GridColumn& c : gridColumns())
            if (c.title == QString::fromUtf8(title))
                return c.sortExpression;
        return QString::fromUtf8(title); // not a column: stands for a stored text
    }
    QStringList names(const Query& q) {
        QStringList n;
        for (const Row& r : q.rows(0, 100000))
            n.append(name(r));
        return n;
    }

private slots:
    void initTestCase() {
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
        using namespace searchfixture;
        const QVariant none;
        // Groups: Abba, Beatles, Ärzte (sorts as Arzte), no group, Cream.
        const QStringList groups = {"Abba", "Beatles", "Ärzte", "", "Cream"};
        for (int i = 0; i < groups.size(); ++i)
            carrier(m_db, {i + 1, groups[i], "T", 1, 1, "", 1, 2, 0.0, 1, none, none, 0});
        song(m_db, {1, 1, 1, "Waterloo", "Abba", 2.45, 1, 30, 40, 5, "1974"});
        song(m_db, {1, 1, 2, "SOS", "Abba", 3.2, 2, 10, 20, 1, "1975"});
        song(m_db, {2, 2, 1, "help", "Beatles", 2.2, 1, 5, 6, 3, "1965"});
        song(m_db, {2, 1, 1, "Help", "Beatles", 2.2, 1, 5, 6, 3, "1965"});
        song(m_db, {3, 1, 1, "Männer", "Ärzte", 3.3, 1, 1, 2, 4, "1987"});
        song(m_db, {4, 1, 1, "Ohne", "", 1.0, 1, 0, 1, 2, ""});
        song(m_db, {5, 1, 1, "Badge", "Cream", 2.45, 1, 7, 8, 2, "1969"});
        song(m_db, {5, 1, 2, "Ärger", "Cream", 4.0, 2, 8, 9, 2, "1969"});
    }

    void order_data() {
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("expected");
        const QString byGroup = "4/1/1 1/1/1 1/1/2 3/1/1 2/1/1 2/2/1 5/1/1 5/1/2";
        QTest::newRow("default: group, ties by carrier, side, number") << QString() << byGroup;
        QTest::newRow("unknown stored text gives default")
            << QStringLiteral("MUSIKPOS.Bewertung; DROP TABLE MUSIKPOS") << byGroup;
        QTest::newRow("stored in other letter case")
            << QStringLiteral("musikpos.\"bewertung\"")
            << "1/1/2 4/1/1 5/1/1 5/1/2 2/1/1 2/2/1 3/1/1 1/1/1";
        QTest::newRow("title in German order, ties")
            << expression("Titel des Liedes") << "5/1/2 5/1/1 2/1/1 2/2/1 3/1/1 4/1/1 1/1/2 1/1/1";
        QTest::newRow("counter to sorts by counter from")
            << expression("Zählwerkstand bis") << "4/1/1 3/1/1 2/1/1 2/2/1 5/1/1 5/1/2 1/1/2 1/1/1";
        QTest::newRow("running time") << expression("Laufzeit des Liedes")
                                      << "4/1/1 2/1/1 2/2/1 1/1/1 5/1/1 1/1/2 3/1/1 5/1/2";
        QTest::newRow("direction short name")
            << expression("Musikrichtung") << "1/1/1 2/1/1 2/2/1 3/1/1 4/1/1 5/1/1 1/1/2 5/1/2";
    }
    void order() {
        QFETCH(QString, sort);
        QFETCH(QString, expected);
        Query q(m_db, sort);
        QCOMPARE(names(q).join(QLatin1Char(' ')), expected);
        QCOMPARE(q.count(), 8);
    }

    void columnsWithoutSort() {
        for (const char* title : {"Erscheinungsjahr", "BPM von", "BPM bis", "Tanzstil"})
            QVERIFY(expression(title).isEmpty());
        QCOMPARE(gridColumns().size(), size_t(17));
        QCOMPARE(displayText(gridColumns()[4], 3.45), QStringLiteral("3,45"));
    }

    void pagesEqualTheWholeQuery() {
        m_db.exec(u"SAVEPOINT many");
        QRandomGenerator rng(11);
        for (int i = 0; i < 300; ++i)
            searchfixture::song(m_db,
                                {1 + int(rng.bounded(5)), 3 + i, 1, QString::number(rng.bounded(9)),
                                 "x", 1.0, 1, 0, 0, int(rng.bounded(3)), ""});
        for (const QString& sort : {QString(), expression("Titel des Liedes")}) {
            auto query = std::make_unique<Query>(m_db, sort);
            const std::vector<Row> all = query->rows(0, 100000);
            SongListModel model;
            model.setPageSize(7);
            model.setCachedPages(3);
            model.setQuery(std::move(query));
            QCOMPARE(model.rowCount(), int(all.size()));
            for (int i = 0; i < model.rowCount(); ++i)
                QCOMPARE(name(*model.rowAt(i)), name(all[size_t(i)]));
            for (int n = 0; n < 100; ++n) {
                const int i = int(rng.bounded(model.rowCount()));
                QCOMPARE(name(*model.rowAt(i)), name(all[size_t(i)]));
                QCOMPARE(model.positionOf(keyOf(all[size_t(i)])), i);
            }
        }
        m_db.exec(u"ROLLBACK TO many; RELEASE many");
    }

    void countArrivesAfterTheFirstPage_data() {
        QTest::addColumn<QString>("sort");
        QTest::newRow("default") << QString();
        QTest::newRow("title") << expression("Titel des Liedes");
    }
    void countArrivesAfterTheFirstPage() {
        QFETCH(QString, sort);
        const QStringList all = names(Query(m_db, sort));
        QCOMPARE(all.size(), 8);
        auto paged = [this, &sort](int pageSize) {
            auto model = std::make_unique<SongListModel>();
            model->setPageSize(pageSize);
            model->setQuery(std::make_unique<Query>(m_db, sort));
            return model;
        };
        auto namesOf = [](SongListModel& model) {
            QStringList n;
            for (int i = 0; i < model.rowCount(); ++i)
                n.append(name(*model.rowAt(i)));
            return n;
        };
        auto waiting = paged(3);
        QCOMPARE(waiting->rowCount(), 3);
        QVERIFY(!waiting->countKnown() && waiting->canFetchMore({}));
        QSignalSpy arrived(waiting.get(), &SongListModel::countArrived);
        QTRY_COMPARE(arrived.count(), 1);
        QCOMPARE(namesOf(*waiting), all);
        QVERIFY(!waiting->canFetchMore({}));

        auto scrolled = paged(3); // the view scrolls on before the count arrives
        while (scrolled->canFetchMore({}))
            scrolled->fetchMore({});
        QCOMPARE(namesOf(*scrolled), all);

        auto toTheEnd = paged(3); // a move to the last row counts at once
        toTheEnd->finishCount();
        QCOMPARE(namesOf(*toTheEnd), all);

        auto exact = paged(4); // two full pages: the count, not a short page, ends the list
        while (exact->canFetchMore({}))
            exact->fetchMore({});
        QCOMPARE(namesOf(*exact), all);

        auto onePage = paged(9); // not full: the page itself is the count
        QVERIFY(onePage->countKnown());
        QCOMPARE(namesOf(*onePage), all);
    }

    // Closing a window stops its count at once: the statement is interrupted, not awaited
    // (without that this count never ends), and no answer arrives afterwards.
    void stoppingEndsARunningCount() {
        BackgroundCount counter;
        QObject receiver;
        std::atomic<bool> interrupted = false;
        bool arrived = false;
        counter.start(
            dataset::databasePath(m_dir.path()),
            [&interrupted](Database& db) {
                try {
                    return db
                        .scalar(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
                                u"SELECT COUNT(*) FROM n")
                        .toLongLong();
                } catch (const DbError&) {
                    interrupted = true;
                    throw;
                }
            },
            &receiver, [&arrived](std::optional<qint64>) { arrived = true; });
        counter.stop();
        QVERIFY(interrupted);
        QCoreApplication::processEvents();
        QVERIFY(!arrived);
    }

    void jump_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("to");
        // Default order: (none) 4/1/1, Abba 1/1/1 1/1/2, Ärzte 3/1/1, Beatles 2/1/1 2/2/1,
        // Cream 5/1/1 5/1/2.
        QTest::newRow("back to the last of A, Ärzte under A") << "2/2/1"
                                                              << "A"
                                                              << "3/1/1";
        QTest::newRow("equal initial stays") << "1/1/2"
                                             << "A"
                                             << "1/1/2";
        QTest::newRow("Ärzte counts as A") << "3/1/1"
                                           << "A"
                                           << "3/1/1";
        QTest::newRow("forward to the first of B") << "1/1/1"
                                                   << "B"
                                                   << "2/1/1";
        QTest::newRow("forward past the end") << "1/1/1"
                                              << "Z"
                                              << "5/1/2";
        QTest::newRow("back from C to B") << "5/1/2"
                                          << "B"
                                          << "2/2/1";
        QTest::newRow("empty group does not move") << "4/1/1"
                                                   << "C"
                                                   << "4/1/1";
        QTest::newRow("digit goes back to the start") << "3/1/1"
                                                      << "1"
                                                      << "4/1/1";
    }
    void jump() {
        QFETCH(QString, from);
        QFETCH(QString, key);
        QFETCH(QString, to);
        Query q(m_db);
        const std::vector<Row> all = q.rows(0, 100);
        qint64 current = -1;
        for (size_t i = 0; i < all.size(); ++i)
            if (name(all[i]) == from)
                current = qint64(i);
        QVERIFY(current >= 0);
        const qint64 target = q.jump(current, all[size_t(current)], key.at(0));
        QCOMPARE(name(all[size_t(target)]), to);
    }
};

QTEST_GUILESS_MAIN(TestSongList)
#include "tst_songlist.moc"
