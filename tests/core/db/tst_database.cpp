#include "core/db/dataset.h"
#include "core/db/germancollation.h"
#include "core/db/recordaccess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDatabase : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

    static CarrierRecord carrier(const QString& group, const QString& title, double type,
                                 double number, double key) {
        CarrierRecord c;
        c.gruppeInterpretText1 = group;
        c.text2 = title;
        c.artDerSchallplatte = type;
        c.nummerierung = number;
        c.folgenummerKopf = key;
        c.status = 1;
        return c;
    }

private slots:
    void initTestCase() {
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
    }
    void init() { m_db.exec(u"DELETE FROM \"MUSIKKOP\""); }

    void carrierRoundTrip() {
        CarrierRecord c = carrier(QStringLiteral("Die Ärzte"), QStringLiteral("Debil"), 1, 3, 1);
        c.erscheinungsjahr = QStringLiteral("1984");
        c.laufzeitDerSchallplatte = 38.12;
        c.kaufpreis = 12.5;
        c.kaufdatum = QDate(1985, 2, 28);
        records::insert(m_db, c);
        const auto back = records::find(m_db, c);
        QVERIFY(back);
        QCOMPARE(*back, c);
        QVERIFY(!back->bewertung); // an empty field stays empty, not 0
        QVERIFY(!back->musikrichtung);
    }

    void alphaFieldsHoldTheirSize() {
        CarrierRecord c = carrier(QString(60, QLatin1Char('x')), QStringLiteral("t"), 1, 0, 1);
        c.erscheinungsjahr = QStringLiteral("19845");
        records::insert(m_db, c);
        const auto rows = records::select<CarrierRecord>(m_db);
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].gruppeInterpretText1.size(), 50);
        QCOMPARE(rows[0].erscheinungsjahr, QStringLiteral("1984"));
    }

    void primaryKeyRefusesDuplicates() {
        records::insert(m_db, carrier(QStringLiteral("A"), QStringLiteral("B"), 1, 0, 1));
        try {
            records::insert(m_db, carrier(QStringLiteral("A"), QStringLiteral("B"), 1, 0, 2));
            QFAIL("duplicate key stored");
        } catch (const DbError& e) {
            QVERIFY(e.isKeyViolation());
        }
        records::insert(m_db, carrier(QStringLiteral("A"), QStringLiteral("B"), 1, 1, 2));
        QCOMPARE(records::count(m_db, schema::table(u"MUSIKKOP")), 2);
    }

    void otherErrorsCarrySqliteText() {
        try {
            m_db.exec(u"SELECT * FROM \"NOTHERE\"");
            QFAIL("no error");
        } catch (const DbError& e) {
            QCOMPARE(e.kind(), DbError::Kind::Other);
            QVERIFY2(e.message().contains(QLatin1String("no such table")), qPrintable(e.message()));
        }
    }

    void numbering_data() {
        QTest::addColumn<QList<double>>("keys");
        QTest::addColumn<double>("next");
        QTest::newRow("empty") << QList<double>() << 1.0;
        QTest::newRow("gap") << QList<double>({1, 2, 7}) << 8.0;
        QTest::newRow("single") << QList<double>({5}) << 6.0;
    }
    void numbering() {
        QFETCH(QList<double>, keys);
        QFETCH(double, next);
        for (double k : keys)
            records::insert(m_db, carrier(QString::number(k), QString(), 1, 0, k));
        QCOMPARE(records::nextKey(m_db, schema::table(u"MUSIKKOP"), u"Folgenummer Kopf"), next);
    }

    void lookupKeysAndCurrencyKeys() {
        const double art = records::nextKey(m_db, schema::table(u"MUSIKART"), u"Index-Nummer");
        QCOMPARE(art, 14.0); // 13 delivered media types
        QCOMPARE(records::nextKey(m_db, schema::table(u"Currency"), u"Index"), 12.0);
        QCOMPARE(records::nextKey(m_db, schema::table(u"MPRTTEXT"), u"Index-Nummer",
                                  u"\"Type\" = ?1", {3}),
                 2.0);
    }

    void updateAndRemoveByKey() {
        const CarrierRecord old = carrier(QStringLiteral("A"), QStringLiteral("B"), 1, 0, 1);
        records::insert(m_db, old);
        CarrierRecord changed = old;
        changed.text2 = QStringLiteral("C");
        QCOMPARE(records::update(m_db, old, changed), 1);
        QVERIFY(!records::find(m_db, old));
        QCOMPARE(records::find(m_db, changed)->text2, QStringLiteral("C"));
        QCOMPARE(records::remove(m_db, changed), 1);
        QCOMPARE(records::count(m_db, schema::table(u"MUSIKKOP")), 0);
    }

    void transactionIsAllOrNothing() {
        try {
            Transaction t(m_db);
            records::insert(m_db, carrier(QStringLiteral("A"), QString(), 1, 0, 1));
            records::insert(m_db,
                            carrier(QStringLiteral("A"), QString(), 1, 0, 2)); // key violation
            t.commit();
        } catch (const DbError&) {
        }
        QCOMPARE(records::count(m_db, schema::table(u"MUSIKKOP")), 0);
        QVERIFY(!m_db.inTransaction());
    }

    void germanOrder() {
        const QStringList names = {"Zappa",  "Ärzte", "Strasse", "äbc", "Abba",
                                   "Straße", "arzt",  "Öl",      "Ofen"};
        double key = 1;
        for (const QString& n : names)
            records::insert(m_db, carrier(n, QString(), 1, 0, key++));
        const auto rows = records::select<CarrierRecord>(
            m_db, u"ORDER BY \"Gruppe/Interpret/Text 1\" COLLATE GERMAN");
        QStringList order;
        for (const auto& r : rows)
            order.append(r.gruppeInterpretText1);
        QCOMPARE(order, QStringList({"Abba", "äbc", "arzt", "Ärzte", "Ofen", "Öl", "Strasse",
                                     "Straße", "Zappa"}));
    }

    void collation_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("case") << "abba"
                              << "ABBB" << -1;
        QTest::newRow("umlaut like base") << "Müller"
                                          << "Mueller" << 1; // ü = u, so "mul" > "mue"
        QTest::newRow("sharp s as ss") << "Straße"
                                       << "Strassf" << -1;
        QTest::newRow("accent") << "Café"
                                << "Cafe" << 1; // equal letters, bytes decide
        QTest::newRow("prefix") << "Abb"
                                << "Abba" << -1;
        QTest::newRow("identical") << "Öl"
                                   << "Öl" << 0;
    }
    void collation() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const int c = compareGerman(a.toUtf8(), b.toUtf8());
        QCOMPARE((c > 0) - (c < 0), sign);
        const int r = compareGerman(b.toUtf8(), a.toUtf8());
        QCOMPARE((r > 0) - (r < 0), -sign);
    }

    void containsWithUpperCaseUmlauts_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("hits");
        QTest::newRow("upper umlaut") << "ÄRZ" << 1;
        QTest::newRow("lower umlaut") << "ärz" << 1;
        QTest::newRow("middle") << "ÜLLER" << 1;
        QTest::newRow("none") << "ÖL" << 0;
    }
    void containsWithUpperCaseUmlauts() {
        QFETCH(QString, pattern);
        QFETCH(int, hits);
        records::insert(m_db, carrier(QStringLiteral("Die Ärzte"), QString(), 1, 0, 1));
        records::insert(m_db, carrier(QStringLiteral("Müller-Westernhagen"), QString(), 1, 0, 2));
        const auto rows = records::select<CarrierRecord>(
            m_db, u"WHERE LOWER(\"Gruppe/Interpret/Text 1\") LIKE '%' || LOWER(?1) || '%'",
            {pattern});
        QCOMPARE(int(rows.size()), hits);
    }

    // LOWER agrees with Qt's lower case for every character below U+0100 (its short way) and
    // for text beyond it.
    void lowerAgreesWithQt_data() {
        QTest::addColumn<QString>("text");
        QString latin1;
        for (char16_t c = 1; c < 0x100; ++c)
            latin1 += QChar(c);
        QTest::newRow("every character below U+0100") << latin1;
        QTest::newRow("German") << QStringLiteral("DIE ÄRZTE – Über MÜLLER ß ÿ µ × ÷");
        QTest::newRow("Greek") << QStringLiteral("ΑΒΓ Äb");
        QTest::newRow("Kelvin sign") << QStringLiteral("\u212A und Ä");
        QTest::newRow("long") << QStringLiteral("ÄB").repeated(300);
        QTest::newRow("empty") << QString();
    }
    void lowerAgreesWithQt() {
        QFETCH(QString, text);
        Statement s = m_db.prepare(u"SELECT LOWER(?1)");
        s.bind(1, text);
        QVERIFY(s.next());
        QCOMPARE(s.toString(0), text.toLower());
    }

    void datesCompareInDateOrder() {
        CarrierRecord a = carrier(QStringLiteral("a"), QString(), 1, 0, 1);
        a.kaufdatum = QDate(2001, 12, 31);
        CarrierRecord b = carrier(QStringLiteral("b"), QString(), 1, 0, 2);
        b.kaufdatum = QDate(2002, 1, 1);
        records::insert(m_db, a);
        records::insert(m_db, b);
        const auto rows = records::select<CarrierRecord>(m_db, u"WHERE \"Kaufdatum\" > ?1",
                                                         {QDate(2001, 12, 31)});
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows[0].gruppeInterpretText1, QStringLiteral("b"));
    }

    // Stored dates read back as the general "yyyy-MM-dd" parser reads them, odd ones included.
    void readsStoredDates_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("date") << QVariant(QStringLiteral("2003-01-05"));
        QTest::newRow("leap day") << QVariant(QStringLiteral("2004-02-29"));
        QTest::newRow("no leap day") << QVariant(QStringLiteral("2003-02-29"));
        QTest::newRow("month 13") << QVariant(QStringLiteral("2003-13-01"));
        QTest::newRow("day 0") << QVariant(QStringLiteral("2003-01-00"));
        QTest::newRow("year 1") << QVariant(QStringLiteral("0001-01-01"));
        QTest::newRow("year 0") << QVariant(QStringLiteral("0000-01-01"));
        QTest::newRow("single digits") << QVariant(QStringLiteral("2003-1-5"));
        QTest::newRow("blanks") << QVariant(QStringLiteral(" 2003-01-05"));
        QTest::newRow("trailing") << QVariant(QStringLiteral("2003-01-05x"));
        QTest::newRow("dots") << QVariant(QStringLiteral("05.01.2003"));
        QTest::newRow("signs") << QVariant(QStringLiteral("2003-+1-05"));
        QTest::newRow("empty") << QVariant(QString());
        QTest::newRow("number") << QVariant(20030105);
        QTest::newRow("null") << QVariant();
    }

    void readsStoredDates() {
        QFETCH(QVariant, stored);
        Statement s = m_db.prepare(u"SELECT ?1");
        s.bind(1, stored);
        QVERIFY(s.next());
        const QDate expected =
            stored.isValid() ? QDate::fromString(stored.toString(), QStringLiteral("yyyy-MM-dd"))
                             : QDate();
        QCOMPARE(s.toDate(0), expected);
    }

    void closeAndReopen() {
        records::insert(m_db, carrier(QStringLiteral("bleibt"), QString(), 1, 0, 1));
        m_db.close();
        QVERIFY(!m_db.isOpen());
        m_db.open(dataset::databasePath(m_dir.path()));
        QCOMPARE(records::count(m_db, schema::table(u"MUSIKKOP")), 1);
    }

    void corruptFileIsReportedNotReplaced_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text")
            << QByteArray("Das ist keine Datenbank, sondern ein Brief.\n").repeated(200);
        QByteArray damaged;
        {
            QFile f(dataset::databasePath(m_dir.path()));
            QVERIFY(f.open(QIODevice::ReadOnly));
            damaged = f.readAll();
        }
        for (qsizetype i = 100; i < damaged.size(); i += 7)
            damaged[i] = char(0xA5);
        QTest::newRow("damaged pages") << damaged;
    }
    void corruptFileIsReportedNotReplaced() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dataset::databasePath(dir.path());
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        Database db;
        try {
            db.open(path);
            QFAIL("a broken file was accepted");
        } catch (const DbError& e) {
            QCOMPARE(e.kind(), DbError::Kind::NotADatabase);
            QVERIFY(e.message().contains(path));
        }
        QVERIFY(!db.isOpen());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
    }

    // Another program in the middle of a change is no damage: opening and every later
    // statement say that the data are busy, and nothing is changed.
    void busyIsToldApartFromDamage_data() {
        QTest::addColumn<bool>("whileOpening");
        QTest::newRow("opening") << true;
        QTest::newRow("a later statement") << false;
    }
    void busyIsToldApartFromDamage() {
        QFETCH(bool, whileOpening);
        QTemporaryDir dir;
        dataset::create(dir.path());
        const QString path = dataset::databasePath(dir.path());
        Database db;
        if (!whileOpening)
            db.open(path);
        Database other;
        other.open(path);
        other.exec(u"BEGIN EXCLUSIVE");
        try {
            if (whileOpening)
                db.open(path);
            db.exec(u"DELETE FROM \"MUSIKKOP\"");
            QFAIL("a busy database was written");
        } catch (const DbError& e) {
            QVERIFY(e.isBusy());
            QCOMPARE(e.message(), Database::busyText());
        }
        other.exec(u"ROLLBACK");
        if (whileOpening)
            QVERIFY(!db.isOpen());
    }

    void missingFileIsNotCreated() {
        QTemporaryDir dir;
        Database db;
        QVERIFY_THROWS_EXCEPTION(DbError, db.open(dataset::databasePath(dir.path())));
        QVERIFY(!QFile::exists(dataset::databasePath(dir.path())));
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
