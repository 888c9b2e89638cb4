// Lending and taking back, borrowers and the lending queries against a delivered data set.
#include "core/common/packeddatetime.h"
#include "core/lending/borrowers.h"
#include "core/lending/lending.h"
#include "core/lending/lendingqueries.h"
#include "lendingfixture.h"

#include <QTest>

using Outcome = lending::Outcome;
Q_DECLARE_METATYPE(std::optional<double>)

namespace {
const QDateTime kNow(QDate(2026, 12, 10), QTime(11, 43, 10));
}

class TestLending : public QObject {
    Q_OBJECT

private slots:
    // Status before -> -1 while lent -> restored; the record is kept returned or deleted.
    void lendAndReturn_data() {
        QTest::addColumn<std::optional<double>>("status");
        QTest::addColumn<bool>("directDelete");
        QTest::newRow("status 3, kept") << std::optional<double>(3) << false;
        QTest::newRow("status 3, deleted") << std::optional<double>(3) << true;
        QTest::newRow("empty status stays empty") << std::optional<double>() << false;
    }
    void lendAndReturn() {
        QFETCH(std::optional<double>, status);
        QFETCH(bool, directDelete);
        LendingData d;
        d.carrier(1, QStringLiteral("A"), status);
        d.carrier(2, QStringLiteral("B"), 1.0);
        const int who = d.borrower(QStringLiteral("Meier"));

        const Outcome lent = lending::lend(d.db, 1, who, kNow);
        QVERIFY2(lent.ok(), qPrintable(lent.message));
        QCOMPARE(lending::carrierStatus(d.db, 1), std::optional<double>(-1));
        const std::optional<LendingRecord> open = lending::openLending(d.db, 1);
        QVERIFY(open);
        QCOMPARE(open->folgenummer, double(packeddatetime::pack(kNow)));
        QCOMPARE(open->verliehenAn, std::optional<double>(who));
        QCOMPARE(open->verliehenAm, kNow.date());
        QVERIFY(open->zurueckAm.isNull());
        QCOMPARE(open->statusAlt, status);

        const QDate back(2027, 1, 5);
        const Outcome returned = lending::takeBack(d.db, 1, back, directDelete);
        QVERIFY2(returned.ok(), qPrintable(returned.message));
        const std::vector<CarrierRecord> carriers =
            records::select<CarrierRecord>(d.db, u"ORDER BY \"Folgenummer Kopf\"");
        QCOMPARE(carriers[0].status, status);
        QCOMPARE(carriers[1].status, std::optional<double>(1)); // the other carrier untouched
        const std::vector<LendingRecord> rows = records::select<LendingRecord>(d.db);
        QCOMPARE(rows.size(), directDelete ? size_t(0) : size_t(1));
        if (!directDelete) {
            QCOMPARE(rows[0].verleihstatus, 0.0);
            QCOMPARE(rows[0].zurueckAm, back);
            QCOMPARE(rows[0].verliehenAm, kNow.date());
        }
    }

    // Refusals change nothing in either table.
    void refusals_data() {
        QTest::addColumn<bool>("lend");
        QTest::addColumn<std::optional<double>>("status");
        QTest::addColumn<bool>("openRow");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("help");
        QTest::newRow("lend: already lent")
            << true << std::optional<double>(-1) << true << int(Outcome::AlreadyLent) << 31007;
        QTest::newRow("lend: stale row, open lending but status 3")
            << true << std::optional<double>(3) << true << int(Outcome::AlreadyLent) << 31007;
        QTest::newRow("return: not lent")
            << false << std::optional<double>(3) << false << int(Outcome::NotLent) << 31008;
        QTest::newRow("return: damaged, no open lending")
            << false << std::optional<double>(-1) << false << int(Outcome::NoOpenLending) << 0;
    }
    void refusals() {
        QFETCH(bool, lend);
        QFETCH(std::optional<double>, status);
        QFETCH(bool, openRow);
        QFETCH(int, expected);
        QFETCH(int, help);
        LendingData d;
        d.carrier(1, QStringLiteral("A"), status);
        const int who = d.borrower(QStringLiteral("Meier"));
        d.lendingRow(1, 0, 100, who, QDate(2020, 1, 1), QDate(2020, 2, 1));
        if (openRow)
            d.lendingRow(1, 1, 200, who, QDate(2021, 1, 1));
        const QString before = d.snapshot();
        const Outcome o = lend ? lending::lend(d.db, 1, who, kNow)
                               : lending::takeBack(d.db, 1, kNow.date(), false);
        QCOMPARE(int(o.status), expected);
        QCOMPARE(o.helpContext, help);
        QVERIFY(!o.message.isEmpty());
        QCOMPARE(d.snapshot(), before);
    }

    // A write refused in the second table rolls the first one back too.
    void failureInSecondTableRollsBack_data() {
        QTest::addColumn<bool>("lend");
        QTest::addColumn<QString>("trigger");
        QTest::newRow("lend: carrier update fails")
            << true
            << "CREATE TRIGGER f BEFORE UPDATE ON \"MUSIKKOP\" BEGIN SELECT RAISE(ABORT, "
               "'Platte voll'); END";
        QTest::newRow("return kept: lending update fails")
            << false
            << "CREATE TRIGGER f BEFORE UPDATE ON \"MUSIKVER\" BEGIN SELECT RAISE(ABORT, "
               "'Platte voll'); END";
    }
    void failureInSecondTableRollsBack() {
        QFETCH(bool, lend);
        QFETCH(QString, trigger);
        LendingData d;
        d.carrier(1, QStringLiteral("A"), lend ? 3.0 : -1.0);
        const int who = d.borrower(QStringLiteral("Meier"));
        if (!lend)
            d.lendingRow(1, 1, 200, who, QDate(2021, 1, 1), {}, 3.0);
        d.db.exec(trigger);
        const QString before = d.snapshot();
        const Outcome o = lend ? lending::lend(d.db, 1, who, kNow)
                               : lending::takeBack(d.db, 1, kNow.date(), false);
        QCOMPARE(int(o.status), int(Outcome::Failed));
        QVERIFY2(o.message.contains(QStringLiteral("Platte voll")), qPrintable(o.message));
        QVERIFY(o.message.startsWith(lend ? QStringLiteral("Der Tonträger konnte nicht")
                                          : QStringLiteral("Die Rückgabe konnte nicht")));
        QCOMPARE(d.snapshot(), before);
    }

    // Numbers from the clock: bit 31 in 2044, shared by two carriers in one second, and
    // lowered for a carrier whose lendings already hold it.
    void numbers() {
        LendingData d;
        d.carrier(1, QStringLiteral("A"));
        d.carrier(2, QStringLiteral("B"));
        const int who = d.borrower(QStringLiteral("Meier"));
        const QDateTime future(QDate(2044, 3, 1), QTime(8, 0, 0));
        QVERIFY(lending::lend(d.db, 1, who, future).ok());
        QVERIFY(lending::openLending(d.db, 1)->folgenummer < 0);
        QCOMPARE(lending::openLending(d.db, 1)->folgenummer, double(packeddatetime::pack(future)));
        QVERIFY(lending::takeBack(d.db, 1, future.date(), false).ok());

        // Two carriers in the same second share the number.
        QVERIFY(lending::lend(d.db, 1, who, kNow).ok());
        QVERIFY(lending::lend(d.db, 2, who, kNow).ok());
        const qint32 n = packeddatetime::pack(kNow);
        QCOMPARE(lending::openLending(d.db, 1)->folgenummer, double(n));
        QCOMPARE(lending::openLending(d.db, 2)->folgenummer, double(n));

        // Lend-return-lend-return within one second: the second lending steps below.
        QVERIFY(lending::takeBack(d.db, 1, kNow.date(), false).ok());
        QVERIFY(lending::lend(d.db, 1, who, kNow).ok());
        QCOMPARE(lending::openLending(d.db, 1)->folgenummer, double(n - 1));
        const Outcome second = lending::takeBack(d.db, 1, kNow.date(), false);
        QVERIFY2(second.ok(), qPrintable(second.message));
        QCOMPARE(records::select<LendingRecord>(
                     d.db, u"WHERE \"Tonträgernummer\" = 1 AND \"Verleihstatus\" = 0")
                     .size(),
                 size_t(3));
    }

    void borrowerNumbering() {
        LendingData d;
        BorrowerRecord b;
        b.name1 = QStringLiteral("Erster");
        QCOMPARE(borrowers::save(d.db, b).folgenummer, 1.0);
        b.name1 = QStringLiteral("   "); // blanks count as a name
        QCOMPARE(borrowers::save(d.db, b).folgenummer, 2.0);
        b.name1 = QString();
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, borrowers::save(d.db, b));
        // The highest deleted: its number is given again; lower gaps are never refilled.
        b.name1 = QStringLiteral("Dritter");
        QCOMPARE(borrowers::save(d.db, b).folgenummer, 3.0);
        QCOMPARE(borrowers::remove(d.db, 3), borrowers::RemoveResult::Removed);
        QCOMPARE(borrowers::remove(d.db, 1), borrowers::RemoveResult::Removed);
        QCOMPARE(borrowers::save(d.db, b).folgenummer, 3.0);
        // Edits are cut to the field's width.
        BorrowerRecord stored = *borrowers::find(d.db, 3);
        stored.postleitzahl = QStringLiteral("123456789012");
        QCOMPARE(borrowers::save(d.db, stored).postleitzahl, QStringLiteral("12345678"));
    }

    void deleteBorrower() {
        LendingData d;
        d.carrier(1, QStringLiteral("A"), -1.0);
        d.carrier(2, QStringLiteral("B"));
        const int open = d.borrower(QStringLiteral("Offen"));
        const int done = d.borrower(QStringLiteral("Fertig"));
        d.lendingRow(1, 1, 500, open, QDate(2021, 1, 1));
        d.lendingRow(2, 0, 500, open, QDate(2020, 1, 1), QDate(2020, 2, 1));
        d.lendingRow(2, 0, 600, done, QDate(2020, 3, 1), QDate(2020, 4, 1));
        const QString before = d.snapshot();
        QCOMPARE(borrowers::remove(d.db, open), borrowers::RemoveResult::HasOpenLendings);
        QCOMPARE(d.snapshot(), before);
        QCOMPARE(borrowers::remove(d.db, done), borrowers::RemoveResult::Removed);
        QVERIFY(!borrowers::find(d.db, done));
        QCOMPARE(records::select<LendingRecord>(d.db).size(), size_t(2));
        QCOMPARE(borrowers::remove(d.db, done), borrowers::RemoveResult::Gone);
    }

    // A returned row of one carrier shares its number with another carrier's open lending:
    // deleting the returned row leaves the open one alone.
    void removeReturnedByCarrierAndNumber() {
        LendingData d;
        d.carrier(1, QStringLiteral("A"));
        d.carrier(2, QStringLiteral("B"), -1.0);
        const int who = d.borrower(QStringLiteral("Meier"));
        d.lendingRow(1, 0, 700, who, QDate(2020, 1, 1), QDate(2020, 2, 1));
        d.lendingRow(2, 1, 700, who, QDate(2020, 1, 1));
        QVERIFY(!lending::removeReturned(d.db, 2, 700)); // open: refused
        QVERIFY(lending::removeReturned(d.db, 1, 700));
        QVERIFY(lending::openLending(d.db, 2));
        QCOMPARE(records::select<LendingRecord>(d.db).size(), size_t(1));
    }

    // Open lendings first, then group, title, type, number; a carrier without media type row
    // is left out.
    void overviewOrder() {
        LendingData d;
        d.carrier(1, QStringLiteral("Zappa"), -1.0);
        d.carrier(2, QStringLiteral("Äpfel"));
        d.carrier(3, QStringLiteral("Beatles"));
        d.carrier(4, QStringLiteral("Abba"), 1.0, 99); // no such media type
        const int who = d.borrower(QStringLiteral("Meier"));
        const int other = d.borrower(QStringLiteral("Müller"));
        d.lendingRow(1, 1, 10, who, QDate(2021, 1, 1));
        d.lendingRow(3, 0, 11, who, QDate(2020, 1, 1), QDate(2020, 1, 2));
        d.lendingRow(2, 0, 12, who, QDate(2020, 1, 1), QDate(2020, 1, 2));
        d.lendingRow(4, 0, 13, who, QDate(2020, 1, 1), QDate(2020, 1, 2));
        d.lendingRow(3, 0, 14, other, QDate(2020, 1, 1), QDate(2020, 1, 2));
        QStringList order;
        for (const auto& r : lendingqueries::overview(d.db, who))
            order << r.group + QLatin1Char('/') + r.stateText;
        QCOMPARE(order,
                 (QStringList{"Zappa/Verliehen", "Äpfel/Zurückgegeben", "Beatles/Zurückgegeben"}));
    }

    // The list's selections: one borrower or all, open first; returned grouped by borrower.
    // Every lending is listed, also when its carrier has no state or a code without a lookup
    // row.
    void listSelections_data() {
        QTest::addColumn<int>("borrower");
        QTest::addColumn<int>("selection");
        QTest::addColumn<QStringList>("rows");
        using S = lendingqueries::Selection;
        QTest::newRow("one borrower, all")
            << 1 << int(S::All) << QStringList{"1:A", "1:C", "1:E", "1:G"};
        QTest::newRow("one borrower, open") << 1 << int(S::Open) << QStringList{"1:A"};
        QTest::newRow("all borrowers, returned")
            << -1 << int(S::Returned) << QStringList{"1:C", "1:E", "1:G", "2:B", "2:D", "2:F"};
        QTest::newRow("all borrowers, all")
            << -1 << int(S::All) << QStringList{"1:A", "1:C", "1:E", "1:G", "2:B", "2:D", "2:F"};
    }
    void listSelections() {
        QFETCH(int, borrower);
        QFETCH(int, selection);
        QFETCH(QStringList, rows);
        LendingData d;
        d.carrier(1, QStringLiteral("A"), -1.0);
        d.carrier(2, QStringLiteral("B"));
        d.carrier(3, QStringLiteral("C"));
        d.carrier(4, QStringLiteral("D"));
        d.carrier(5, QStringLiteral("E"));
        d.db.exec(u"UPDATE \"MUSIKKOP\" SET \"Musikrichtung\" = 77 WHERE \"Folgenummer Kopf\" = 5");
        d.carrier(6, QStringLiteral("F"), std::nullopt); // lent from the empty state
        d.carrier(7, QStringLiteral("G"), 1.0, 99);      // no such media type
        d.borrower(QStringLiteral("Eins"));
        d.borrower(QStringLiteral("Zwei"));
        d.lendingRow(1, 1, 1, 1, QDate(2021, 1, 1));
        d.lendingRow(2, 0, 2, 2, QDate(2020, 1, 1), QDate(2020, 1, 2));
        d.lendingRow(3, 0, 3, 1, QDate(2020, 1, 1), QDate(2020, 1, 2));
        d.lendingRow(4, 0, 4, 2, QDate(2020, 1, 1), QDate(2020, 1, 2));
        d.lendingRow(5, 0, 5, 1, QDate(2020, 1, 1), QDate(2020, 1, 2));
        d.lendingRow(6, 0, 6, 2, QDate(2020, 1, 1), QDate(2020, 1, 2), std::nullopt);
        d.lendingRow(7, 0, 7, 1, QDate(2020, 1, 1), QDate(2020, 1, 2));
        lendingqueries::ListCursor cursor(d.db, borrower, lendingqueries::Selection(selection));
        QStringList got;
        while (const auto row = cursor.next())
            got << QStringLiteral("%1:%2")
                       .arg(*row->lending.verliehenAn)
                       .arg(row->carrier.gruppeInterpretText1);
        QCOMPARE(got, rows);
    }

    void resolveBorrower_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("error");
        QTest::newRow("by number") << "#2" << 2 << "";
        QTest::newRow("by exact name") << "Zwei" << 2 << "";
        QTest::newRow("several") << "Doppelt" << 0 << "#3 Doppelt\n#4 Doppelt";
        QTest::newRow("unknown") << "zwei" << 0 << "gibt es nicht";
    }
    void resolveBorrower() {
        QFETCH(QString, key);
        QFETCH(int, number);
        QFETCH(QString, error);
        LendingData d;
        for (const char* n : {"Eins", "Zwei", "Doppelt", "Doppelt"})
            d.borrower(QString::fromUtf8(n));
        const borrowers::Match m = borrowers::resolve(d.db, key);
        QCOMPARE(m.ok(), number != 0);
        if (m.ok())
            QCOMPARE(m.matches.front().folgenummer, double(number));
        else
            QVERIFY2(m.error.contains(error), qPrintable(m.error));
    }
};

QTEST_GUILESS_MAIN(TestLending)
#include "tst_lending.moc"
