#include "core/common/germanformat.h"
#include "core/common/laufzeit.h"
#include "core/lookup/priceconversion.h"
#include "core/printing/statistics.h"
#include "core/settings/settings.h"
#include "reportfixture.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>
#include <map>

using statistics::Sums;

namespace {

// One carrier as the statistics see it; nullopt fields are stored empty.
struct Carrier {
    double type = 1;
    std::optional<double> time;
    std::optional<double> price;
    std::optional<qint32> currency; // nullopt: no information record
    QDate bought;
    std::optional<double> songs;
    QString year;
    bool nullYear = false;
    std::optional<double> direction;
};

// Currencies: 1 EUR (factor 1, the current one), 2 DM (1.95583, the old one), 3 with factor 2,
// 4 with factor 0; changeover on 01.01.2002.
struct Collection : ReportData {
    Settings settings;
    int next = 1;

    Collection() {
        currency(1, QStringLiteral("EUR"), 1);
        currency(2, QStringLiteral("DM"), 1.95583);
        currency(3, QStringLiteral("HFL"), 2);
        currency(4, QStringLiteral("NUL"), 0);
        lookup("MUSIKART", 1, QStringLiteral("LP"), QStringLiteral("Langspielplatte"));
        settings.currencyNew = 1;
        settings.currencyOld = 2;
        settings.currencyDate2 = germanformat::dayNumber(QDate(2002, 1, 1));
    }

    void currency(qint32 index, const QString& name, std::optional<double> factor) {
        CurrencyRecord c;
        c.index = index;
        c.currency = name;
        c.currencyLong = name;
        c.factor = factor;
        records::insert(db, c);
    }

    void add(const Carrier& c) {
        CarrierRecord r;
        r.folgenummerKopf = next;
        r.gruppeInterpretText1 = QStringLiteral("Gruppe %1").arg(next);
        r.nummerierung = next;
        r.artDerSchallplatte = c.type;
        r.laufzeitDerSchallplatte = c.time;
        r.kaufpreis = c.price;
        r.kaufdatum = c.bought;
        r.anzahlDerLieder = c.songs;
        r.erscheinungsjahr = c.year;
        r.musikrichtung = c.direction;
        records::insert(db, r);
        if (c.nullYear)
            db.exec(QStringLiteral("UPDATE \"MUSIKKOP\" SET \"Erscheinungsjahr\" = NULL "
                                   "WHERE \"Folgenummer Kopf\" = %1")
                        .arg(next));
        if (c.currency) {
            CarrierInfoRecord info;
            info.folgenummerInfo = next;
            info.currency = *c.currency;
            records::insert(db, info);
        }
        ++next;
    }

    statistics::Table count(int kind, qint64 rowsPerSlice = 8192) {
        return statistics::Counter(db, settings, kind, rowsPerSlice).result();
    }
};

const statistics::Row* rowOf(const statistics::Table& t, const QString& label) {
    for (const statistics::Row& r : t.rows)
        if (r.label == label)
            return &r;
    return nullptr;
}

QStringList labels(const statistics::Table& t) {
    QStringList out;
    for (const statistics::Row& r : t.rows)
        out.append(r.label);
    return out;
}

using Carriers = QList<Carrier>;

} // namespace

Q_DECLARE_METATYPE(Carriers)

class TestStatistics : public QObject {
    Q_OBJECT

private slots:
    // Time, value and songs of one group as the window shows them.
    void sums_data() {
        QTest::addColumn<Carriers>("carriers");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("songs");
        const QDate before(2001, 12, 31), changeover(2002, 1, 1);
        auto priced = [](double price, std::optional<qint32> currency, QDate bought = {}) {
            Carrier c;
            c.price = price;
            c.currency = currency;
            c.bought = bought;
            return c;
        };
        auto timed = [](double time) {
            Carrier c;
            c.time = time;
            c.songs = 10;
            return c;
        };
        QTest::newRow("minutes and seconds") << Carriers{timed(45.30), timed(12.45)} << "58,15"
                                             << "0,00 EUR"
                                             << "20";
        QTest::newRow("carry, one order") << Carriers{timed(0.59), timed(0.99)} << "2,38"
                                          << "0,00 EUR"
                                          << "20";
        QTest::newRow("carry, other order") << Carriers{timed(0.99), timed(0.59)} << "2,38"
                                            << "0,00 EUR"
                                            << "20";
        QTest::newRow("seconds of 60 or more count as seconds")
            << Carriers{timed(1.75), timed(0.30)} << "2,45"
            << "0,00 EUR"
            << "20";
        QTest::newRow("thousands") << Carriers{timed(1234.56)} << "1.234,56"
                                   << "0,00 EUR"
                                   << "10";
        QTest::newRow("current currency") << Carriers{priced(12.34, 1, before)} << "0,00"
                                          << "12,34 EUR"
                                          << "0";
        QTest::newRow("factor 1.95583") << Carriers{priced(19.56, 2, changeover)} << "0,00"
                                        << "10,00 EUR"
                                        << "0";
        QTest::newRow("half a cent away from zero") << Carriers{priced(19.99, 3)} << "0,00"
                                                    << "10,00 EUR"
                                                    << "0";
        QTest::newRow("each carrier to the cent")
            << Carriers{priced(0.01, 3), priced(0.01, 3), priced(0.01, 3)} << "0,00"
            << "0,03 EUR"
            << "0";
        QTest::newRow("none before the changeover: old")
            << Carriers{priced(19.56, 0, before)} << "0,00"
            << "10,00 EUR"
            << "0";
        QTest::newRow("none on the changeover: new")
            << Carriers{priced(19.56, 0, changeover)} << "0,00"
            << "19,56 EUR"
            << "0";
        QTest::newRow("none without a date: old") << Carriers{priced(19.56, 0)} << "0,00"
                                                  << "10,00 EUR"
                                                  << "0";
        QTest::newRow("no information record: by date")
            << Carriers{priced(19.56, std::nullopt, before),
                        priced(19.56, std::nullopt, changeover)}
            << "0,00"
            << "29,56 EUR"
            << "0";
        QTest::newRow("unknown currency: factor 1") << Carriers{priced(7.5, 99)} << "0,00"
                                                    << "7,50 EUR"
                                                    << "0";
        QTest::newRow("factor 0 counts as 1") << Carriers{priced(7.5, 4)} << "0,00"
                                              << "7,50 EUR"
                                              << "0";
        QTest::newRow("empty price, time and songs") << Carriers{Carrier{}} << "0,00"
                                                     << "0,00 EUR"
                                                     << "0";
    }
    void sums() {
        QFETCH(Carriers, carriers);
        QFETCH(QString, time);
        QFETCH(QString, value);
        QFETCH(QString, songs);
        Collection c;
        for (const Carrier& carrier : carriers)
            c.add(carrier);
        const statistics::Table t = c.count(statistics::MediaTypes);
        QCOMPARE(t.rows.size(), size_t(1));
        const QStringList row = statistics::displayRow(t.rows.front(), t.currency);
        QCOMPARE(row, (QStringList{QStringLiteral("LP"), QString::number(carriers.size()), time,
                                   value, songs}));
        QCOMPARE(statistics::totalRow(t).mid(1), row.mid(1));
    }

    // Rows of the lookup kinds: every lookup row, sorted by label without regard to case,
    // carriers with a code that has no row apart at the end.
    void lookupRows() {
        Collection c;
        c.lookup("MUSIKSTA", -1, QStringLiteral("verliehen"), QStringLiteral("Verliehen"));
        c.lookup("MUSIKSTA", 1, QStringLiteral("Neu"), QStringLiteral("Neu"));
        c.lookup("MUSIKSTA", 2, QStringLiteral("alt"), QStringLiteral("Alt"));
        c.lookup("MUSIKDIR", 1, QStringLiteral("Pop"), QStringLiteral("Pop"));
        Carrier lent;
        lent.time = 3.0;
        c.add(lent);
        c.db.exec(u"UPDATE \"MUSIKKOP\" SET \"Status\" = -1");
        Carrier pop;
        pop.direction = 1;
        c.add(pop);
        Carrier unknown;
        unknown.direction = 7;
        unknown.type = 0; // the delivered data has no media type 0
        c.add(unknown);

        const statistics::Table states = c.count(statistics::States);
        QCOMPARE(labels(states),
                 (QStringList{QStringLiteral("alt"), QStringLiteral("Neu"),
                              QStringLiteral("verliehen"), statistics::kUnassigned}));
        QCOMPARE(rowOf(states, QStringLiteral("alt"))->sums, Sums{});
        QCOMPARE(rowOf(states, QStringLiteral("verliehen"))->sums, (Sums{1, 180, 0, 0}));
        QCOMPARE(rowOf(states, statistics::kUnassigned)->sums.count, 2);

        const statistics::Table directions = c.count(statistics::Directions);
        QCOMPARE(labels(directions), (QStringList{QStringLiteral("Pop"), statistics::kUnassigned}));
        QCOMPARE(rowOf(directions, statistics::kUnassigned)->sums.count, 2); // NULL and 7

        const statistics::Table types = c.count(statistics::MediaTypes);
        QCOMPARE(rowOf(types, QStringLiteral("LP"))->sums.count, 2);
        QCOMPARE(rowOf(types, statistics::kUnassigned)->sums.count, 1);
        QCOMPARE(types.total.count, 3);
    }

    void years() {
        Collection c;
        for (const char* year : {"1999", "1980", "", "1999"}) {
            Carrier y;
            y.year = QString::fromLatin1(year);
            c.add(y);
        }
        Carrier nullYear;
        nullYear.nullYear = true;
        c.add(nullYear);
        const statistics::Table t = c.count(statistics::Years);
        QCOMPARE(labels(t),
                 (QStringList{QString(), QStringLiteral("1980"), QStringLiteral("1999")}));
        QCOMPARE(t.rows[0].sums.count, 2);
        QCOMPARE(t.rows[2].sums.count, 2);
        QCOMPARE(statistics::caption(statistics::Years),
                 QStringLiteral("Erscheinungsjahr-Statistik"));
    }

    void emptyCollection() {
        Collection c;
        c.db.exec(u"DELETE FROM \"Currency\" WHERE \"Index\" = 1");
        const statistics::Table t = c.count(statistics::MediaTypes);
        QCOMPARE(labels(t), QStringList{QStringLiteral("LP")});
        QCOMPARE(statistics::totalRow(t),
                 (QStringList{QStringLiteral("Gesamt"), QStringLiteral("0"), QStringLiteral("0,00"),
                              QStringLiteral("0,00"), QStringLiteral("0")}));
        QVERIFY(c.count(statistics::Years).rows.empty());
    }

    void formats_data() {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("value");
        QTest::newRow("zero") << qint64(0) << "0"
                              << "0,00"
                              << "0,00 EUR";
        QTest::newRow("thousands") << qint64(74096) << "74.096"
                                   << "1.234,56"
                                   << "740,96 EUR";
        QTest::newRow("millions") << qint64(123456789) << "123.456.789"
                                  << "2.057.613,09"
                                  << "1.234.567,89 EUR";
        QTest::newRow("negative") << qint64(-105) << "-105"
                                  << "-1,45"
                                  << "-1,05 EUR";
    }
    void formats() {
        QFETCH(qint64, number);
        QFETCH(QString, count);
        QFETCH(QString, time);
        QFETCH(QString, value);
        QCOMPARE(statistics::formatCount(number), count);
        QCOMPARE(statistics::formatTime(number), time);
        QCOMPARE(statistics::formatValue(number, QStringLiteral("EUR")), value);
    }

    // A few thousand carriers with every fallback, counted in many slices, against a fold
    // over the carriers in C++ with the pairwise time rule and the C++ conversion.
    void crossCheck() {
        Collection c;
        c.lookup("MUSIKART", 2, QStringLiteral("CD"), QStringLiteral("Compact Disc"));
        c.lookup("MUSIKDIR", 1, QStringLiteral("Pop"), QStringLiteral("Pop"));
        c.lookup("MUSIKDIR", 2, QStringLiteral("Jazz"), QStringLiteral("Jazz"));
        c.lookup("MUSIKSTA", 1, QStringLiteral("Neu"), QStringLiteral("Neu"));
        c.lookup("MUSIKSTA", -1, QStringLiteral("verl."), QStringLiteral("Verliehen"));
        QRandomGenerator random(7);
        const QDate changeover(2002, 1, 1);
        {
            Transaction t(c.db);
            for (int i = 0; i < 3000; ++i) {
                Carrier k;
                k.type = random.bounded(4); // 0 and 3 have no row
                const int minutes = random.bounded(90), seconds = random.bounded(60);
                if (random.bounded(10) != 0)
                    k.time = minutes + seconds / 100.0;
                if (random.bounded(10) != 0)
                    k.price = random.bounded(100000) / 100.0;
                const int currency = random.bounded(8);
                if (currency < 6) // 5: a currency that does not exist; 6, 7: no record
                    k.currency = currency;
                if (random.bounded(8) != 0)
                    k.bought = changeover.addDays(random.bounded(4000) - 2000);
                if (random.bounded(10) != 0)
                    k.songs = random.bounded(30);
                const int year = random.bounded(12);
                k.year = year < 10 ? QString::number(1990 + year) : QString();
                k.nullYear = year == 11;
                if (random.bounded(6) != 0)
                    k.direction = random.bounded(3);
                c.add(k);
            }
            t.commit();
        }
        c.db.exec(u"UPDATE \"MUSIKKOP\" SET \"Status\" = (\"Folgenummer Kopf\" % 3) - 1");
        c.db.exec(u"DELETE FROM \"MUSIKKOP\" WHERE \"Folgenummer Kopf\" % 97 = 0"); // rowid gaps

        const priceconversion::Rules rules = priceconversion::load(c.db, c.settings);
        for (int kind : {1, 2, 3, 4}) {
            struct Fold {
                qint64 count = 0;
                double time = 0;
                qint64 cents = 0;
                qint64 songs = 0;
            };
            std::map<QString, Fold> expected;
            const char* column[] = {"\"Art der Schallplatte\"", "\"Musikrichtung\"", "\"Status\"",
                                    "\"Erscheinungsjahr\""};
            Statement s = c.db.prepare(
                QStringLiteral("SELECT k.%1, k.\"Laufzeit der Schallplatte\", k.\"Kaufpreis\", "
                               "i.\"Currency\", k.\"Kaufdatum\", k.\"Anzahl der Lieder\" "
                               "FROM \"MUSIKKOP\" k LEFT JOIN \"MusikInformation\" i "
                               "ON i.\"Folgenummer Info\" = k.\"Folgenummer Kopf\"")
                    .arg(QLatin1String(column[kind - 1])));
            const std::map<qint64, QString> names[] = {
                {{1, QStringLiteral("LP")}, {2, QStringLiteral("CD")}},
                {{1, QStringLiteral("Pop")}, {2, QStringLiteral("Jazz")}},
                {{1, QStringLiteral("Neu")}, {-1, QStringLiteral("verl.")}}};
            while (s.next()) {
                QString label = statistics::kUnassigned;
                if (kind == 4) {
                    label = s.toString(0);
                } else if (!s.isNull(0)) {
                    const auto& known = names[kind - 1];
                    if (const auto it = known.find(s.toInt64(0)); it != known.end())
                        label = it->second;
                }
                Fold& f = expected[label];
                ++f.count;
                f.time = laufzeit::add(f.time, s.isNull(1) ? 0.0 : s.toDouble(1));
                if (!s.isNull(2)) {
                    const std::optional<qint32> currency =
                        s.isNull(3) ? std::nullopt : std::optional<qint32>(qint32(s.toInt64(3)));
                    f.cents += std::llround(priceconversion::convert(
                        rules, double(std::llround(s.toDouble(2) * 100)), currency, s.toDate(4)));
                }
                f.songs += s.isNull(5) ? 0 : s.toInt64(5);
            }

            statistics::Counter counter(c.db, c.settings, kind, 100);
            QVERIFY(counter.sliceCount() > 20);
            int slices = 0;
            while (counter.runNextSlice())
                QCOMPARE(counter.slicesDone(), ++slices);
            const statistics::Table t = counter.result();
            Sums rowSum;
            for (const statistics::Row& row : t.rows) {
                rowSum += row.sums;
                const Fold f = expected.count(row.label) ? expected.at(row.label) : Fold{};
                QCOMPARE(row.sums, (Sums{f.count, laufzeit::toSeconds(f.time), f.cents, f.songs}));
                expected.erase(row.label);
            }
            QVERIFY(expected.empty());
            QCOMPARE(t.total, rowSum);
            QCOMPARE(t.total.count, c.db.scalar(u"SELECT COUNT(*) FROM \"MUSIKKOP\"").toLongLong());
        }
    }
};

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
