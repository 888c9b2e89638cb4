// Export and import of carrier files against real data sets: round trip, numbering,
// lookups, and files that must store nothing.
#include "carrierfixture.h"
#include "core/catalogue/carrierexport.h"
#include "core/catalogue/carrierimport.h"
#include "core/db/dataset.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCarrierImport : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString freshDataSet(const QString& name) {
        const QString dir = m_dir.filePath(name);
        QDir().mkpath(dir);
        QFile::remove(dataset::databasePath(dir));
        dataset::create(dir);
        return dataset::databasePath(dir);
    }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        return path;
    }
    QByteArray exported(Database& db, double number, bool purchase) {
        const QString path = m_dir.filePath(QStringLiteral("out.DKM"));
        QString error;
        if (!carrierexport::exportToFile(db, number, purchase, path, &error))
            qWarning() << error;
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    static QByteArray minimal(const QByteArray& carrierLines, const QByteArray& rest = {}) {
        return "[Tonträger]\r\nText 1=\"Neu\"\r\n" + carrierLines + "\r\n" + rest;
    }

private slots:
    void roundTrip_data() {
        QTest::addColumn<bool>("purchase");
        QTest::newRow("with purchase data") << true;
        QTest::newRow("without") << false;
    }
    void roundTrip() {
        QFETCH(bool, purchase);
        Database a;
        a.open(freshDataSet(QStringLiteral("a")));
        addCarrier(a, CarrierSpec(1, QStringLiteral("Die Ärzte"))
                          .withTitle(QStringLiteral(" \"Live\"  in € – Ωmega"))
                          .withPrice(12.5)
                          .withCurrency(2)
                          .withPressing(QStringLiteral("D")));
        a.exec(u"UPDATE MUSIKKOP SET \"Kaufdatum\" = '2004-12-29', \"Anzahl der Lieder\" = 2");
        records::insert(a, CarrierTextRecord{1, QStringLiteral("eins\r\n\r\ndrei\r\n")});
        addSong(a, 1, 1, 1, QStringLiteral("Lied \"eins\""), 3.45);
        addSong(a, 1, 2, 1, QStringLiteral("Lied zwei"), 2.30);
        const QByteArray first = exported(a, 1, purchase);
        QVERIFY(first.startsWith("\xEF\xBB\xBF")); // Ω needs UTF-8

        Database b;
        b.open(freshDataSet(QStringLiteral("b")));
        const auto outcome =
            carrierimport::importFile(b, writeFile(QStringLiteral("1.DKM"), first), 1);
        QVERIFY2(outcome.ok, qPrintable(outcome.message));
        QCOMPARE(outcome.number, 1);
        QCOMPARE(exported(b, 1, purchase), first);
        Statement text = b.prepare(u"SELECT \"Freier Text 2000 Zeichen\" FROM MUSIKTXT");
        QVERIFY(text.next());
        QCOMPARE(text.toString(0), QStringLiteral("eins\r\n\r\ndrei\r\n"));
    }

    void songsWithoutTempoComeBackWithIt() {
        Database a;
        a.open(freshDataSet(QStringLiteral("c")));
        addCarrier(a, CarrierSpec(1, QStringLiteral("A")));
        addSong(a, 1, 1, 1, QStringLiteral("ohne"), 3.0, false);
        const QByteArray first = exported(a, 1, false);
        QVERIFY(!first.contains("BPM von"));
        Database b;
        b.open(freshDataSet(QStringLiteral("d")));
        QVERIFY(carrierimport::importFile(b, writeFile(QStringLiteral("c.DKM"), first), 1).ok);
        const QByteArray second = exported(b, 1, false);
        QVERIFY(second.contains("BPM von=0\r\nBPM bis=0\r\nTanzstil=\"-\"\r\n")); // dance style 0
        Database c;
        c.open(freshDataSet(QStringLiteral("e")));
        QVERIFY(carrierimport::importFile(c, writeFile(QStringLiteral("d.DKM"), second), 1).ok);
        QCOMPARE(exported(c, 1, false), second);
    }

    void exportReplacesAnOlderFile() {
        Database a;
        a.open(freshDataSet(QStringLiteral("f")));
        addCarrier(a, CarrierSpec(1, QStringLiteral("A")).withPrice(3));
        const QByteArray withPurchase = exported(a, 1, true);
        QVERIFY(withPurchase.contains("Kaufpreis"));
        QVERIFY(!exported(a, 1, false).contains("Kaufpreis"));
    }

    void importTwiceRaisesNumbering() {
        Database b;
        b.open(freshDataSet(QStringLiteral("g")));
        const QString path =
            writeFile(QStringLiteral("twice.DKM"), minimal("Nummer=5\r\nTonträgerart=\"LP\""));
        QVERIFY(carrierimport::importFile(b, path, 1).ok);
        addCarrier(b, CarrierSpec(7, QStringLiteral("Neu")).withTitle(QString()));
        b.exec(u"UPDATE MUSIKKOP SET \"Nummerierung\" = 6 WHERE \"Folgenummer Kopf\" = 7");
        const auto second = carrierimport::importFile(b, path, 1);
        QVERIFY(second.ok);
        QCOMPARE(second.number, 8);
        Statement s =
            b.prepare(u"SELECT \"Nummerierung\" FROM MUSIKKOP WHERE \"Folgenummer Kopf\" = 8");
        QVERIFY(s.next());
        QCOMPARE(s.toDouble(0), 7.0); // 5 and 6 are taken
    }

    void lookups() {
        Database b;
        b.open(freshDataSet(QStringLiteral("h")));
        // A second "Pop" with a higher key: the lowest wins, nothing is added.
        records::insert(b, LookupRecord{50, QStringLiteral("Pop"), QStringLiteral("x"), 0},
                        schema::table(u"MUSIKDIR"));
        const qint64 directions = records::count(b, schema::table(u"MUSIKDIR"));
        const QString path = writeFile(
            QStringLiteral("l.DKM"),
            minimal("Tonträgerart=\"Schellack-Platte\"\r\nMusikrichtung=\"Pop\"\r\n"
                    "Tonträgerstatus=\"Vorhanden\"\r\nWährung=\"YEN!\"",
                    "[Export-Info]\r\nLiederanzahl=1\r\n[Lied 1]\r\nSeite=1\r\nNummer=1\r\n"
                    "Musikrichtung=\"Pop\"\r\nTanzstil=\"\"\r\n"));
        QVERIFY(carrierimport::importFile(b, path, 1).ok);
        QCOMPARE(records::count(b, schema::table(u"MUSIKDIR")), directions);
        Statement art = b.prepare(u"SELECT A.\"Kurzbezeichnung\", A.\"Langbezeichnung\", "
                                  u"A.\"Nummerierung\", K.\"Musikrichtung\" FROM MUSIKKOP K JOIN "
                                  u"MUSIKART A ON A.\"Index-Nummer\" = K.\"Art der Schallplatte\"");
        QVERIFY(art.next());
        QCOMPARE(art.toString(0), QStringLiteral("Schellack-")); // cut to the field
        QCOMPARE(art.toString(1), QStringLiteral("Schellack-"));
        QCOMPARE(art.toDouble(2), 0.0);
        QCOMPARE(art.toDouble(3), 1.0);
        Statement cur = b.prepare(u"SELECT C.\"Currency\", C.\"Factor\" FROM MusikInformation I "
                                  u"JOIN Currency C ON C.\"Index\" = I.\"Currency\"");
        QVERIFY(cur.next());
        QCOMPARE(cur.toString(0), QStringLiteral("YEN!"));
        QCOMPARE(cur.toDouble(1), 1.0);
        QCOMPARE(b.scalar(u"SELECT \"Tanzstil\" FROM MusikPosInformation").toDouble(), 0.0);
    }

    // Lookup names match as the lists compare them, not byte for byte; an entry written
    // exactly as in the file comes first.
    void lookupNamesIgnoreCase_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("present"); // another entry beside the delivered ones
        QTest::addColumn<double>("key");
        QTest::newRow("lower case") << QByteArray("Tonträgerart=\"lp\"") << "MUSIKART"
                                    << "" << 1.0;
        QTest::newRow("upper-case umlaut")
            << QByteArray("Musikrichtung=\"ÖSTERREICH\"") << "MUSIKDIR"
            << "Österreich" << 60.0;
        QTest::newRow("exact spelling first") << QByteArray("Tonträgerart=\"lp\"") << "MUSIKART"
                                              << "lp" << 60.0;
        QTest::newRow("exact spelling beside it") << QByteArray("Tonträgerart=\"LP\"") << "MUSIKART"
                                                  << "lp" << 1.0;
    }
    void lookupNamesIgnoreCase() {
        QFETCH(QByteArray, line);
        QFETCH(QString, table);
        QFETCH(QString, present);
        QFETCH(double, key);
        Database b;
        b.open(freshDataSet(QStringLiteral("k")));
        if (!present.isEmpty())
            records::insert(b, LookupRecord{60, present, present, 0}, schema::table(table));
        const qint64 entries = records::count(b, schema::table(table));
        QVERIFY(
            carrierimport::importFile(b, writeFile(QStringLiteral("k.DKM"), minimal(line)), 1).ok);
        QCOMPARE(records::count(b, schema::table(table)), entries);
        const QString field = table == QLatin1String("MUSIKART")
                                  ? QStringLiteral("Art der Schallplatte")
                                  : QStringLiteral("Musikrichtung");
        QCOMPARE(b.scalar(QStringLiteral("SELECT \"%1\" FROM MUSIKKOP").arg(field)).toDouble(),
                 key);
    }

    void missingCurrencyTakesTheNewOne() {
        Database b;
        b.open(freshDataSet(QStringLiteral("i")));
        const qint64 currencies = records::count(b, schema::table(u"Currency"));
        QVERIFY(
            carrierimport::importFile(b, writeFile(QStringLiteral("m.DKM"), minimal("")), 2).ok);
        QCOMPARE(records::count(b, schema::table(u"Currency")), currencies);
        QCOMPARE(b.scalar(u"SELECT \"Currency\" FROM MusikInformation").toInt(), 2);
    }

    // A carrier exported while lent has no lending here: it comes in as "Vorhanden", and the
    // outcome says so; other states are kept as the file says.
    void lentStateComesInAsAvailable_data() {
        QTest::addColumn<QByteArray>("state");
        QTest::addColumn<double>("stored");
        QTest::addColumn<bool>("noted");
        QTest::newRow("lent") << QByteArray("Verliehen") << 1.0 << true;
        QTest::newRow("wanted") << QByteArray("Gesucht") << 2.0 << false;
    }
    void lentStateComesInAsAvailable() {
        QFETCH(QByteArray, state);
        QFETCH(double, stored);
        QFETCH(bool, noted);
        Database b;
        b.open(freshDataSet(QStringLiteral("v") + QString::fromLatin1(state)));
        const carrierimport::Outcome o = carrierimport::importFile(
            b, writeFile(QStringLiteral("v.DKM"), minimal("Tonträgerstatus=\"" + state + "\"")), 1);
        QVERIFY(o.ok);
        QCOMPARE(b.scalar(u"SELECT \"Status\" FROM MUSIKKOP").toDouble(), stored);
        QCOMPARE(o.note.contains(QStringLiteral("\"Vorhanden\"")), noted);
    }

    void faultyFilesStoreNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("no carrier section")
            << QByteArray("[Export-Info]\r\n") << "Der Abschnitt [Tonträger] fehlt.";
        QTest::newRow("decimal comma, after a new lookup")
            << minimal("Tonträgerart=\"Neuart\"\r\nLaufzeit=3,45") << "Zeile 4: \"Laufzeit\"";
        QTest::newRow("invalid date") << minimal("Kaufdatum=\"1.13.2000\"") << "Zeile 3:";
        QTest::newRow("missing song")
            << minimal("", "[Export-Info]\r\nLiederanzahl=1\r\n") << "Der Abschnitt [Lied 1]";
        QTest::newRow("repeated song")
            << minimal("", "[Export-Info]\r\nLiederanzahl=2\r\n[Lied 1]\r\nSeite=1\r\n"
                           "Musikrichtung=\"Neu\"\r\n[Lied 2]\r\nSeite=1\r\n")
            << "wiederholt Seite 1";
        QTest::newRow("control character in a lookup name")
            << minimal("Musikrichtung=\"P\x01op\"")
            << "Zeile 3: \"Musikrichtung\" enthält ein Steuerzeichen.";
    }
    void faultyFilesStoreNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        Database b;
        b.open(freshDataSet(QStringLiteral("j")));
        const QString before = dumpAll(b);
        const QString path = writeFile(QStringLiteral("bad.DKM"), bytes);
        const auto outcome = carrierimport::importFile(b, path, 1);
        QVERIFY(!outcome.ok);
        QVERIFY2(outcome.message.startsWith(QStringLiteral("Die Datei [%1] konnte nicht importiert "
                                                           "werden: ")
                                                .arg(path)),
                 qPrintable(outcome.message));
        QVERIFY2(outcome.message.contains(message), qPrintable(outcome.message));
        QCOMPARE(dumpAll(b), before);
    }

    void databaseErrorStoresNothing() {
        Database b;
        b.open(freshDataSet(QStringLiteral("k")));
        b.exec(u"CREATE TRIGGER refuse BEFORE INSERT ON MUSIKPOS BEGIN "
               u"SELECT RAISE(ABORT, 'Platte voll'); END");
        const QString before = dumpAll(b);
        const auto outcome = carrierimport::importFile(
            b,
            writeFile(QStringLiteral("db.DKM"),
                      minimal("Tonträgerart=\"Neuart\"",
                              "[Export-Info]\r\nLiederanzahl=1\r\n[Lied 1]\r\n")),
            1);
        QVERIFY(!outcome.ok);
        QVERIFY(outcome.message.endsWith(QStringLiteral("Platte voll")));
        QCOMPARE(dumpAll(b), before);
    }

    void missingFile() {
        Database b;
        b.open(freshDataSet(QStringLiteral("l")));
        const auto outcome = carrierimport::importFile(b, QStringLiteral("/nicht/da.DKM"), 1);
        QCOMPARE(outcome.message, QStringLiteral("Die Datei [/nicht/da.DKM] konnte nicht "
                                                 "importiert werden, da sie nicht vorhanden ist!"));
    }
};

QTEST_GUILESS_MAIN(TestCarrierImport)
#include "tst_carrierimport.moc"
