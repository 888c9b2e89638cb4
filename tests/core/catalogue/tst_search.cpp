// Carrier and song searches: condition lines, values, and the translated SQL run against a
// small collection.
#include "core/catalogue/cataloguetexts.h"
#include "core/catalogue/medialist.h"
#include "core/catalogue/searchcondition.h"
#include "core/catalogue/searchtranslation.h"
#include "core/catalogue/songlist.h"
#include "core/db/dataset.h"
#include "searchfixture.h"

#include <QTemporaryDir>
#include <QTest>

using namespace search;

class TestSearch : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

    std::vector<Condition> parse(Kind kind, const QString& arguments) {
        QString error;
        const auto c = parseConditions(kind, arguments.split(QLatin1Char('|')), &error);
        if (!c)
            qFatal("%s", qPrintable(error));
        return *c;
    }
    QStringList carriers(const QString& arguments) {
        medialist::Query q(m_db, {}, translate(Kind::Carriers, parse(Kind::Carriers, arguments)));
        QStringList n;
        for (const medialist::Row& r : q.rows(0, 1000))
            n.append(QString::number(r[medialist::Number].toInt()));
        std::sort(n.begin(), n.end());
        return n;
    }
    QStringList songs(const QString& arguments) {
        songlist::Query q(m_db, {}, translate(Kind::Songs, parse(Kind::Songs, arguments)));
        QStringList n;
        for (const songlist::Row& r : q.rows(0, 1000))
            n.append(QStringLiteral("%1/%2/%3")
                         .arg(r[songlist::Position].toInt())
                         .arg(r[songlist::Side].toInt())
                         .arg(r[songlist::SongNumber].toInt()));
        std::sort(n.begin(), n.end());
        return n;
    }

private slots:
    void initTestCase() {
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
        searchfixture::fill(m_db);
    }

    void carrierSearch_data() {
        QTest::addColumn<QString>("conditions"); // "|" between arguments
        QTest::addColumn<QString>("found");
        const QString longValue(60000, QLatin1Char('a'));
        QTest::newRow("contains ignores case") << "Gruppe:~:beat"
                                               << "1 2";
        QTest::newRow("equal keeps case") << "Gruppe:=:beat"
                                          << "";
        QTest::newRow("umlaut folded") << "Gruppe:~:ÄRZTE"
                                       << "3";
        QTest::newRow("accent kept") << "Gruppe:~:eclair"
                                     << "";
        QTest::newRow("accent in any case") << "Gruppe:~:ÉCLAIR"
                                            << "4";
        QTest::newRow("percent literal") << "Titel:~:0%"
                                         << "4";
        QTest::newRow("underscore literal") << "Hersteller:~:_"
                                            << "2";
        QTest::newRow("backslash literal") << "Hersteller:~:\\"
                                           << "4";
        QTest::newRow("quote") << "Bestellcode:=:O'Neil"
                               << "2";
        QTest::newRow("SQL-shaped equal") << "Gruppe:=:x' OR 1=1 --"
                                          << "";
        QTest::newRow("SQL-shaped contains") << "Titel:~:'); DROP TABLE MUSIKKOP; --"
                                             << "";
        QTest::newRow("year is text") << "Erscheinungsjahr:~:99"
                                      << "2";
        QTest::newRow("lookup short name") << "Art:~:lp"
                                           << "1 4";
        QTest::newRow("lookup long name") << "Art:~:LANGSPIEL"
                                          << "1 4";
        QTest::newRow("lookup equal long") << "Art:=:Single (7 Zoll)"
                                           << "2";
        QTest::newRow("lookup none") << "Art:~:zzz"
                                     << "";
        QTest::newRow("lookup unequal: neither name") << "Art:<>:LP"
                                                      << "2 3";
        QTest::newRow("state unequal") << "Status:<>:Vorhanden"
                                       << "2 4";
        QTest::newRow("currency") << "Währung:~:mark"
                                  << "2";
        QTest::newRow("currency unequal, none and no record left out") << "Währung:<>:EUR"
                                                                       << "2";
        QTest::newRow("decimal comma") << "Kaufpreis:=:3,45"
                                       << "2";
        QTest::newRow("decimal whole hundredths") << "Gesamtlaufzeit:=:3.45"
                                                  << "2";
        QTest::newRow("decimal unequal hundredths") << "Gesamtlaufzeit:<>:3.45"
                                                    << "1 3 4";
        QTest::newRow("playing time as minutes:seconds") << "Gesamtlaufzeit:=:3:45"
                                                         << "2";
        QTest::newRow("empty decimal is 0") << "Kaufpreis:=:"
                                            << "4";
        QTest::newRow("lone point is 0") << "Kaufpreis:>:."
                                         << "1 2";
        QTest::newRow("date across years") << "Kaufdatum:>:31.12.1999"
                                           << "1 3";
        QTest::newRow("date before") << "Kaufdatum:<:1.1.2000"
                                     << "2";
        QTest::newRow("empty date is 1900") << "Kaufdatum:>:"
                                            << "1 2 3";
        QTest::newRow("information date") << "Erfassungsdatum:=:03.02.2001"
                                          << "1";
        QTest::newRow("whole number") << "Lfd. Nr.:>:10"
                                      << "2 3 4";
        QTest::newRow("rating offered") << "Bewertung:>:3"
                                        << "1";
        QTest::newRow("AND before OR") << "Gruppe:~:a|ODER|Titel:~:b|UND|Lfd. Nr.:>:10"
                                       << "1 2 3 4";
        QTest::newRow("UND by default") << "Gruppe:~:beat|Lfd. Nr.:>:10"
                                        << "2";
        QTest::newRow("longer than the field") << "Gruppe:~:" + QString(51, QLatin1Char('a')) << "";
        QTest::newRow("beyond the pattern limit") << "Gruppe:=:" + longValue << "";
        QTest::newRow("long unequal") << "Gruppe:<>:" + longValue << "1 2 3 4";
        QTest::newRow("long OR good") << "Gruppe:~:" + longValue + "|ODER|Gruppe:~:beat"
                                      << "1 2";
    }
    void carrierSearch() {
        QFETCH(QString, conditions);
        QFETCH(QString, found);
        const QVariant before = m_db.scalar(u"SELECT COUNT(*) FROM MUSIKKOP");
        QCOMPARE(carriers(conditions).join(QLatin1Char(' ')), found);
        QCOMPARE(m_db.scalar(u"SELECT COUNT(*) FROM MUSIKKOP"), before);
    }

    void songSearch_data() {
        QTest::addColumn<QString>("conditions");
        QTest::addColumn<QString>("found");
        QTest::newRow("contains any case") << "Titel:~:love"
                                           << "1/1/1 1/1/2 2/1/1";
        QTest::newRow("equal exactly") << "Interpret:=:Chor"
                                       << "1/1/1";
        QTest::newRow("first song of every side") << "Nr. des Liedes:=:1"
                                                  << "1/1/1 2/1/1 3/1/1";
        QTest::newRow("dance style needs information") << "Tanzstil:=:Tango"
                                                       << "1/1/2";
        QTest::newRow("dance style unequal") << "Tanzstil:<>:Tango"
                                             << "1/1/1";
        QTest::newRow("bpm of the information record") << "BPM von:>:120"
                                                       << "1/1/1";
        QTest::newRow("umlaut interpreter") << "Interpret:~:ärzte"
                                            << "3/1/1";
        QTest::newRow("direction lookup") << "Musikrichtung:~:rock"
                                          << "1/1/2";
        QTest::newRow("running time") << "Laufzeit:=:2,22"
                                      << "1/1/1";
        QTest::newRow("running time as minutes:seconds") << "Laufzeit:=:2:22"
                                                         << "1/1/1";
        QTest::newRow("side as letter") << "Seite der Schallplatte:=:a"
                                        << "1/1/1 1/1/2 2/1/1 3/1/1";
        QTest::newRow("second side as letter") << "Seite der Schallplatte:=:B"
                                               << "";
        QTest::newRow("OR") << "Titel:=:Lovely|ODER|Bewertung:>:3"
                            << "1/1/2 2/1/1";
    }
    void songSearch() {
        QFETCH(QString, conditions);
        QFETCH(QString, found);
        QCOMPARE(songs(conditions).join(QLatin1Char(' ')), found);
    }

    void refusedArguments_data() {
        QTest::addColumn<QString>("conditions");
        QTest::addColumn<QString>("message");
        QTest::newRow("impossible date") << "Kaufdatum:=:31.02.2001"
                                         << "kein gültiges Datum";
        QTest::newRow("incomplete date") << "Kaufdatum:=:1.2."
                                         << "kein gültiges Datum";
        QTest::newRow("not a number") << "Kaufpreis:=:abc"
                                      << "keine Zahl";
        QTest::newRow("too many decimals") << "Kaufpreis:=:1,234"
                                           << "keine Zahl";
        QTest::newRow("eight digits") << "Lfd. Nr.:=:12345678"
                                      << "keine ganze Zahl";
        QTest::newRow("unknown field lists the valid ones") << "Farbe:=:rot"
                                                            << "Gültige Felder: Gruppe, Titel";
        QTest::newRow("operator of another class") << "Gruppe:>:x"
                                                   << "nicht möglich";
        QTest::newRow("connector first") << "UND|Gruppe:~:a"
                                         << "zwischen zwei";
        QTest::newRow("connector last") << "Gruppe:~:a|ODER"
                                        << "fehlt eine Bedingung";
        QTest::newRow("no form") << "Gruppe~a"
                                 << "FELD:VERGLEICH:WERT";
    }
    void refusedArguments() {
        QFETCH(QString, conditions);
        QFETCH(QString, message);
        QString error;
        QVERIFY(!parseConditions(Kind::Carriers, conditions.split(QLatin1Char('|')), &error));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    // A playing time typed as on a sleeve and a side named by its letter are written as the
    // numbers they stand for; a price never takes a colon, a song number never a letter.
    void typedValues_data() {
        QTest::addColumn<bool>("songs");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("message");
        QTest::newRow("song time") << true << "Laufzeit:=:4:35"
                                   << "4.35"
                                   << "";
        QTest::newRow("one seconds digit") << true << "Laufzeit:<:4:5"
                                           << "4.05"
                                           << "";
        QTest::newRow("blanks") << true << "Laufzeit:=: 4 : 35 "
                                << "4.35"
                                << "";
        QTest::newRow("song seconds over 59") << true << "Laufzeit:=:4:75"
                                              << "" << cataloguetexts::kSongTimeSeconds;
        QTest::newRow("total seconds over 59") << false << "Gesamtlaufzeit:>:45:60"
                                               << "" << cataloguetexts::kTotalTimeSeconds;
        QTest::newRow("six minute digits") << false << "Gesamtlaufzeit:=:123456:00"
                                           << ""
                                           << "keine Zahl";
        QTest::newRow("three seconds digits") << false << "Gesamtlaufzeit:=:4:355"
                                              << ""
                                              << "keine Zahl";
        QTest::newRow("no seconds") << false << "Gesamtlaufzeit:=:4:"
                                    << ""
                                    << "keine Zahl";
        QTest::newRow("no minutes") << false << "Gesamtlaufzeit:=::35"
                                    << ""
                                    << "keine Zahl";
        QTest::newRow("hours") << false << "Gesamtlaufzeit:=:1:04:35"
                               << ""
                               << "keine Zahl";
        QTest::newRow("price with colon") << false << "Kaufpreis:=:4:35"
                                          << ""
                                          << "keine Zahl";
        QTest::newRow("side B") << true << "Seite der Schallplatte:=:B"
                                << "2"
                                << "";
        QTest::newRow("side z") << true << "Seite der Schallplatte:>:z"
                                << "26"
                                << "";
        QTest::newRow("side number") << true << "Seite der Schallplatte:=:3"
                                     << "3"
                                     << "";
        QTest::newRow("two letters") << true << "Seite der Schallplatte:=:AB"
                                     << ""
                                     << "noch ein Buchstabe von A bis Z";
        QTest::newRow("umlaut") << true << "Seite der Schallplatte:=:Ä"
                                << ""
                                << "noch ein Buchstabe von A bis Z";
        QTest::newRow("song number letter") << true << "Nr. des Liedes:=:B"
                                            << ""
                                            << "keine ganze Zahl";
    }
    void typedValues() {
        QFETCH(bool, songs);
        QFETCH(QString, condition);
        QFETCH(QString, written);
        QFETCH(QString, message);
        QString error;
        const auto c = parseConditions(songs ? Kind::Songs : Kind::Carriers, {condition}, &error);
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(bool(c), message.isEmpty());
        if (c)
            QCOMPARE(c->front().value, written);
    }

    void lines() {
        ConditionList list;
        const Field& group = *findField(Kind::Carriers, QStringLiteral("Gruppe"));
        const Field& title = *findField(Kind::Carriers, QStringLiteral("Titel"));
        const Field& date = *findField(Kind::Carriers, QStringLiteral("Kaufdatum"));
        QVERIFY(list.add(group, QStringLiteral("Sänger"), QStringLiteral("~"), QStringLiteral("a"),
                         Connector::Or)
                    .isEmpty());
        QVERIFY(list.add(title, QStringLiteral("Titel"), QStringLiteral("~"), QStringLiteral("b"),
                         Connector::And)
                    .isEmpty());
        QVERIFY(!list.add(date, QStringLiteral("Kaufdatum"), QStringLiteral("="),
                          QStringLiteral("31.02.2001"), Connector::Or)
                     .isEmpty());
        QVERIFY(list.add(date, QStringLiteral("Kaufdatum"), QStringLiteral(">"),
                         QStringLiteral("  .  .    "), Connector::Or)
                    .isEmpty());
        QCOMPARE(list.visibleLines(),
                 QStringList({"Sänger ~ 'a'", "UND Titel ~ 'b'", "ODER Kaufdatum > 01.01.1900"}));
        QCOMPARE(list.hiddenLines().first(), QStringLiteral("Gruppe ~ 'a'"));
        list.remove(0);
        QCOMPARE(list.hiddenLines(), QStringList({"Titel ~ 'b'", "ODER Kaufdatum > 01.01.1900"}));
    }
};

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
