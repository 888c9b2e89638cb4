// A Discogs collection file taken into a real data set: how each row is judged, what is
// stored, that a faulty file stores nothing, and the export read back.
#include "carrierfixture.h"
#include "core/catalogue/carrierorigins.h"
#include "core/catalogue/carrierstore.h"
#include "core/catalogue/discogsexport.h"
#include "core/catalogue/discogsformat.h"
#include "core/catalogue/discogsimport.h"
#include "core/db/csvreader.h"
#include "core/db/dataset.h"
#include "core/settings/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using discogs::Result;

namespace {

const QByteArray kHeader = "Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,"
                           "CollectionFolder,Date Added,Collection Media Condition,"
                           "Collection Sleeve Condition,Collection Notes\n";

// Lines 2 to 9: quoted commas, "7"", EP", several labels, an empty rating, umlauts, notes
// over two lines, a type the data set lacks, the same release as carrier 1, the same
// group and title as carrier 2, and one release twice.
const QByteArray kRows =
    "POLS 272,Abba,Arrival,Polar,\"LP, Album\",5,1976,1001,Uncategorized,"
    "2017-06-19 03:33:36,Mint (M),Very Good Plus (VG+),\n"
    "\"6.14 123, 6.14 124\",Nena (2) & Kim Wilde,\"Anyplace, Anywhere, Anytime\","
    "\"CBS, CBS (2)\",\"7\"\", EP\",,1984-05-02,1002,Schätze,2018-01-02 10:00:00,"
    "Near Mint (NM or M-),,\"Zeile eins\nZeile zwei, mit Komma\"\n"
    "none,Die Ärzte,Debil,Rot,Box Set,3,1984,1003,Uncategorized,,,,\n"
    "EMI 1,Queen,Jazz (Remaster),EMI,\"CD, Album\",4,1978,2001,Uncategorized,,,,\n"
    "CAS 1,GENESIS,duke,Charisma,\"LP, Album\",,1980,3000,Uncategorized,,,,\n"
    "POLS 272,Abba,Arrival,Polar,\"LP, Album\",2,1976,1001,Uncategorized,,,,\n";

struct Expected {
    int line;
    Result result;
    QString group, title, type, note;
};

const QList<Expected> kPlanned = {
    {2, Result::New, "Abba", "Arrival", "LP", ""},
    {3, Result::New, "Nena & Kim Wilde", "Anyplace, Anywhere, Anytime", "EP", ""},
    {5, Result::UnknownType, "Die Ärzte", "Debil", "Box Set", ""},
    {6, Result::Owned, "Queen", "Jazz (Remaster)", "CD", "wie Nr. 1 (Discogs)"},
    {7, Result::Owned, "GENESIS", "duke", "LP", "wie Nr. 2 (Gruppe/Titel)"},
    {8, Result::New, "Abba", "Arrival", "LP", ""},
};

qint64 rows(Database& db, const char16_t* table) {
    return records::count(db, schema::table(table));
}

} // namespace

class TestDiscogsImport : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_sets = 0;

    // A data set with carrier 1 "Queen / Jazz" from Discogs release 2001 and carrier 2
    // "Genesis / Duke" typed in by hand.
    void openFresh(Database& db) {
        const QString dir = m_dir.filePath(QStringLiteral("set%1").arg(++m_sets));
        QDir().mkpath(dir);
        dataset::create(dir);
        db.open(dataset::databasePath(dir));
        addCarrier(db, CarrierSpec(1, QStringLiteral("Queen")).withTitle(QStringLiteral("Jazz")));
        addCarrier(db, CarrierSpec(2, QStringLiteral("Genesis")).withTitle(QStringLiteral("Duke")));
        carrierorigins::write(db, 1, {{carrierorigins::kDiscogsRelease, QStringLiteral("2001")}});
    }
    QString writeFile(const QByteArray& bytes) {
        const QString path = m_dir.filePath(QStringLiteral("file%1.csv").arg(++m_sets));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    static void compareRows(const discogs::Outcome& o, const QList<Expected>& expected) {
        QCOMPARE(o.rows.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            const discogs::RowOutcome& r = o.rows[i];
            const Expected& e = expected[i];
            QCOMPARE(r.line, e.line);
            QCOMPARE(discogs::resultText(r.result), discogs::resultText(e.result));
            QCOMPARE(r.group, e.group);
            QCOMPARE(r.title, e.title);
            QCOMPARE(r.type, e.type);
            QCOMPARE(r.note, e.note);
        }
    }
    static QList<QStringList> readBack(const QString& path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        CsvReader reader(&f, ',');
        QList<QStringList> result;
        QStringList row;
        while (reader.next(row))
            result.append(row);
        return result;
    }

private slots:
    // The same collection in every form Discogs or a spreadsheet writes it.
    void judgesEveryRow_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray plain = kHeader + kRows;
        QByteArray crlf = plain;
        crlf.replace("\n", "\r\n");
        QTest::newRow("LF, no byte order mark") << plain;
        QTest::newRow("CR LF, byte order mark") << QByteArray("\xEF\xBB\xBF" + crlf);
        QTest::newRow("no line break at the end") << plain.chopped(1);
        QTest::newRow("';' header") << QByteArray(
            "Catalog#;Artist;Title;Label;Format;Rating;Released;release_id;CollectionFolder;"
            "Date Added;Collection Media Condition;Collection Sleeve Condition;Collection Notes\n"
            "POLS 272;Abba;Arrival;Polar;LP, Album;5;1976;1001;Uncategorized;;;;\n"
            "6.14 123, 6.14 124;Nena (2) & Kim Wilde;Anyplace, Anywhere, Anytime;CBS, CBS (2);"
            "\"7\"\", EP\";;1984;1002;;;;;\"Zeile eins\nZeile zwei\"\n"
            "none;Die Ärzte;Debil;Rot;Box Set;3;1984;1003;;;;;\n"
            "EMI 1;Queen;Jazz (Remaster);EMI;CD, Album;4;1978;2001;;;;;\n"
            "CAS 1;GENESIS;duke;Charisma;LP;;1980;3000;;;;;\n"
            "\n" // a blank line is no row
            "POLS 272;Abba;Arrival;Polar;LP;2;1976;1001;;;;;\n");
    }
    void judgesEveryRow() {
        QFETCH(QByteArray, bytes);
        Database db;
        openFresh(db);
        const discogs::Outcome o = discogs::plan(db, writeFile(bytes));
        QVERIFY2(o.ok, qPrintable(o.error));
        QList<Expected> expected = kPlanned;
        if (QTest::currentDataTag() == QByteArrayLiteral("';' header"))
            expected.last().line = 9; // after the blank line
        compareRows(o, expected);
        QCOMPARE(discogs::summaryText(o.counts),
                 QStringLiteral("Neu: 3, vorhanden: 2, Art unbekannt: 1, Fehler: 0"));
        QCOMPARE(rows(db, u"MUSIKKOP"), 2); // a dry run stores nothing
    }

    void storesNewRowsAsFirstSaves() {
        Database db;
        openFresh(db);
        Settings settings;
        settings.currencyNew = 2;
        const discogs::Outcome o =
            discogs::import(db, writeFile(kHeader + kRows), settings, {}, QDate(2024, 3, 1));
        QVERIFY2(o.ok, qPrintable(o.error));
        QCOMPARE(o.stored, 3);
        QList<Expected> expected = kPlanned;
        expected[0] = {2, Result::Stored, "Abba", "Arrival", "LP", "Nr. 3"};
        expected[1] = {3,    Result::Stored, "Nena & Kim Wilde", "Anyplace, Anywhere, Anytime",
                       "EP", "Nr. 4"};
        expected[5] = {8, Result::Stored, "Abba", "Arrival", "LP", "Nr. 5"};
        compareRows(o, expected);
        QCOMPARE(o.counts.added, 3);

        // Per-type numbering: each LP takes the type's counter and moves it on.
        Statement k = db.prepare(
            u"SELECT \"Folgenummer Kopf\", \"Art der Schallplatte\", \"Nummerierung\", "
            u"\"Erscheinungsjahr\", \"Bewertung\", \"Kaufdatum\", \"Status\" FROM MUSIKKOP "
            u"WHERE \"Folgenummer Kopf\" > 2 ORDER BY 1");
        const QList<QVariantList> expectedCarriers = {
            {3, 1, 1, "1976", 5}, {4, 4, 1, "1984", 0}, {5, 1, 2, "1976", 2}};
        for (const QVariantList& e : expectedCarriers) {
            QVERIFY(k.next());
            for (int c = 0; c < e.size(); ++c)
                QCOMPARE(k.toVariant(c).toString(), e[c].toString());
            QVERIFY(k.isNull(5)); // bought some day; Discogs only knows when it was typed in
            QCOMPARE(k.toDouble(6), 1.0);
        }
        QVERIFY(!k.next());
        CarrierStore store(db);
        QCOMPARE(store.typeCounter(1), 3);

        const auto nena = store.load(4);
        QVERIFY(nena);
        QCOMPARE(nena->info.firma, QStringLiteral("CBS"));
        QCOMPARE(nena->info.bestellcode, QStringLiteral("6.14 123"));
        QCOMPARE(nena->info.zustand, QStringLiteral("NM"));
        QCOMPARE(nena->info.currency.value_or(0), 2);
        QCOMPARE(nena->info.creationDate, QDate(2024, 3, 1));
        Statement text = db.prepare(
            u"SELECT \"Freier Text 2000 Zeichen\" FROM MUSIKTXT WHERE \"Folgenummer Text\" = 4");
        QVERIFY(text.next());
        QCOMPARE(text.toString(0),
                 QStringLiteral("Format: 7\", EP\r\nLabel: CBS, CBS (2)\r\n"
                                "Katalognummer: 6.14 123, 6.14 124\r\nNotiz: Zeile eins\r\n"
                                "Notiz: Zeile zwei, mit Komma\r\nDiscogs-Ordner: Schätze\r\n"
                                "Discogs hinzugefügt: 2018-01-02 10:00:00"));
        // Both copies of the release know where they came from.
        for (int number : {3, 5})
            QCOMPARE(carrierorigins::read(db, number),
                     (QList<CarrierOrigin>{{carrierorigins::kDiscogsRelease, "1001"}}));
    }

    void globalNumberingAndATakenKey() {
        Database db;
        openFresh(db);
        addCarrier(db, CarrierSpec(3, QStringLiteral("Abba"))
                           .withTitle(QStringLiteral("Arrival"))
                           .withType(1));
        db.exec(u"UPDATE MUSIKKOP SET \"Nummerierung\" = 40 WHERE \"Folgenummer Kopf\" = 3");
        Settings settings;
        settings.globalNumbering = true;
        settings.globalNumber = 40;
        discogs::Options options;
        options.allowDuplicate = true;
        const discogs::Outcome o = discogs::import(
            db,
            writeFile(kHeader + "1,Abba,Arrival,Polar,LP,,1976,1001,,,,,\n"
                                "2,Queen,Jazz,EMI,LP,,1978,2001,,,,,\n"
                                "3,Blondie,Parallel Lines,Chrysalis,LP,,1978,,,,,,\n"),
            settings, options);
        QVERIFY2(o.ok, qPrintable(o.error));
        // Group and title alone are allowed; a release already here never is.
        QCOMPARE(o.rows[0].note, QStringLiteral("Nr. 4, wie Nr. 3 (Gruppe/Titel)"));
        QCOMPARE(o.rows[1].result, Result::Owned);
        QCOMPARE(o.rows[1].note, QStringLiteral("wie Nr. 1 (Discogs)"));
        QCOMPARE(o.stored, 2);
        Statement s = db.prepare(u"SELECT \"Nummerierung\" FROM MUSIKKOP WHERE "
                                 u"\"Folgenummer Kopf\" > 3 ORDER BY \"Folgenummer Kopf\"");
        QVERIFY(s.next());
        QCOMPARE(s.toDouble(0), 41.0); // 40 is taken by carrier 3 of the same key
        QVERIFY(s.next());
        QCOMPARE(s.toDouble(0), 41.0);                  // the global number moved on by one
        QVERIFY(carrierorigins::read(db, 5).isEmpty()); // no release: no origin
    }

    // A row that cannot be read, or one whose store fails, leaves the collection as it was
    // and names its line.
    void faultyRowStoresNothing_data() {
        QTest::addColumn<QByteArray>("fourthRow");
        QTest::addColumn<bool>("trigger");
        QTest::addColumn<QString>("error");
        QTest::newRow("bad rating")
            << QByteArray("4,Bruch,Platte,L,LP,x,,4,,,,,\n") << false
            << "Zeile 4: Die Bewertung „x“ ist keine ganze Zahl von 0 bis 5.";
        QTest::newRow("bad release") << QByteArray("4,Bruch,Platte,L,LP,,,4a,,,,,\n") << false
                                     << "Zeile 4: Die release_id „4a“ ist keine Nummer.";
        QTest::newRow("field missing") << QByteArray("4,Bruch,Platte,L,LP,,,4,,,,\n") << false
                                       << "Zeile 4: Die Zeile hat 12 Felder, die Kopfzeile 13.";
        QTest::newRow("no artist") << QByteArray("4,,Platte,L,LP,,,4,,,,,\n") << false
                                   << "Zeile 4: Im Feld Gruppe muß ein Wert eingegeben werden!";
        QTest::newRow("not UTF-8") << QByteArray("4,Br\xFC"
                                                 "ch,Platte,L,LP,,,4,,,,,\n")
                                   << false << "Zeile 4: Die Zeile ist kein gültiger UTF-8-Text.";
        QTest::newRow("trigger") << QByteArray("4,Bruch,Platte,L,LP,,,4,,,,,\n") << true
                                 << "Zeile 4: Bruch verboten";
    }
    void faultyRowStoresNothing() {
        QFETCH(QByteArray, fourthRow);
        QFETCH(bool, trigger);
        QFETCH(QString, error);
        Database db;
        openFresh(db);
        if (trigger)
            db.exec(u"CREATE TRIGGER bruch BEFORE INSERT ON MUSIKKOP "
                    u"WHEN NEW.\"Gruppe/Interpret/Text 1\" = 'Bruch' "
                    u"BEGIN SELECT RAISE(ABORT, 'Bruch verboten'); END");
        const QString path = writeFile(kHeader +
                                       "1,Erste,Eins,L,LP,,,1,,,,,\n"
                                       "2,Zweite,Zwei,L,CD,,,2,,,,,\n" +
                                       fourthRow + "5,Fünfte,Fünf,L,LP,,,5,,,,,\n");
        const qint64 counter = CarrierStore(db).typeCounter(1);
        const discogs::Outcome o = discogs::import(db, path, Settings());
        QVERIFY(!o.ok);
        QCOMPARE(o.error, error);
        QCOMPARE(o.stored, 0);
        for (const discogs::RowOutcome& r : o.rows)
            QVERIFY(r.result != Result::Stored);
        QCOMPARE(rows(db, u"MUSIKKOP"), 2);
        QCOMPARE(rows(db, u"MusikInformation"), 2);
        QCOMPARE(rows(db, u"MUSIKTXT"), 0);
        QCOMPARE(rows(db, u"MUSIKEXT"), 1);
        QCOMPARE(CarrierStore(db).typeCounter(1), counter);
        // The dry run names the same line.
        if (!trigger)
            QCOMPARE(discogs::plan(db, path).error, error);
    }

    void notADiscogsCollection_data() {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QString>("column");
        QTest::newRow("no release_id") << QByteArray("Artist,Title,Format\n") << "release_id";
        QTest::newRow("no Format") << QByteArray("Artist,Title,release_id\n") << "Format";
        QTest::newRow("no Artist") << QByteArray("Gruppe;Titel\n") << "Artist";
        QTest::newRow("no header") << QByteArray() << "Artist";
    }
    void notADiscogsCollection() {
        QFETCH(QByteArray, header);
        QFETCH(QString, column);
        Database db;
        openFresh(db);
        const discogs::Outcome o = discogs::import(db, writeFile(header + "a,b,c\n"), Settings());
        QVERIFY(!o.ok);
        QCOMPARE(
            o.error,
            QStringLiteral("Die Datei ist keine Discogs-Sammlung: Spalte „%1“ fehlt.").arg(column));
        QVERIFY(o.rows.isEmpty());
    }

    void cancelStoresNothing() {
        Database db;
        openFresh(db);
        QByteArray bytes = kHeader;
        for (int i = 0; i < 200; ++i)
            bytes +=
                QByteArray::number(i) + ",Gruppe " + QByteArray::number(i) + ",T,L,LP,,,,,,,,\n";
        int calls = 0;
        const discogs::Outcome o =
            discogs::import(db, writeFile(bytes), Settings(), {}, QDate::currentDate(),
                            [&](qint64 done, qint64 total) { return ++calls < 2 && done < total; });
        QVERIFY(o.cancelled);
        QVERIFY(!o.ok);
        QCOMPARE(o.stored, 0);
        QCOMPARE(rows(db, u"MUSIKKOP"), 2);
    }

    // Import, export, import: the collection columns come back as they were.
    void exportReadBack() {
        Database a;
        openFresh(a);
        const discogs::Outcome first = discogs::import(a, writeFile(kHeader + kRows), Settings());
        QVERIFY2(first.ok, qPrintable(first.error));
        const QString exported = m_dir.filePath(QStringLiteral("export.csv"));
        const discogs::ExportOutcome e = discogs::exportCollection(a, exported);
        QVERIFY2(e.ok, qPrintable(e.error));
        QCOMPARE(e.rows, 5);

        QFile f(exported);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("Catalog#,Artist,Title,Label,Format,Rating,Released,"
                                 "release_id,CollectionFolder,Date Added,"
                                 "Collection Media Condition,Collection Sleeve Condition,"
                                 "Collection Notes\r\n")); // no byte order mark
        QCOMPARE(bytes.count("\r\n"), 6);                  // the notes' line break is LF
        const QList<QStringList> read = readBack(exported);
        QCOMPARE(read.size(), 6);
        QCOMPARE(read[0], discogs::columnTitles());
        // By carrier number: the two typed in by hand first, their type's words and no id.
        QCOMPARE(read[1], (QStringList{"none", "Queen", "Jazz", "", "LP", "", "", "2001",
                                       "Uncategorized", "", "", "", ""}));
        QCOMPARE(read[2][7], QString());
        QCOMPARE(read[3], (QStringList{"POLS 272", "Abba", "Arrival", "Polar", "LP, Album", "5",
                                       "1976", "1001", "Uncategorized", "2017-06-19 03:33:36",
                                       "Mint (M)", "Very Good Plus (VG+)", ""}));
        QCOMPARE(read[4],
                 (QStringList{"6.14 123, 6.14 124", "Nena & Kim Wilde",
                              "Anyplace, Anywhere, Anytime", "CBS, CBS (2)", "7\", EP", "", "1984",
                              "1002", "Schätze", "2018-01-02 10:00:00", "Near Mint (NM or M-)", "",
                              "Zeile eins\nZeile zwei, mit Komma"}));

        // Into a data set that has none of them: the same file comes out again.
        Database b;
        const QString dir = m_dir.filePath(QStringLiteral("empty"));
        QDir().mkpath(dir);
        dataset::create(dir);
        b.open(dataset::databasePath(dir));
        const discogs::Outcome second = discogs::import(b, exported, Settings());
        QVERIFY2(second.ok, qPrintable(second.error));
        QCOMPARE(second.stored, 5);
        const QString again = m_dir.filePath(QStringLiteral("again.csv"));
        QVERIFY(discogs::exportCollection(b, again).ok);
        QCOMPARE(readBack(again), read);
    }

    // A cancelled or failed export leaves an existing file as it was and nothing beside it.
    void exportKeepsTheOldFile() {
        Database db;
        openFresh(db);
        const QString dir = m_dir.filePath(QStringLiteral("out"));
        QDir().mkpath(dir);
        const QString path = dir + QStringLiteral("/sammlung.csv");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("alt");
        old.close();
        for (int i = 3; i < 600; ++i)
            addCarrier(db, CarrierSpec(i, QStringLiteral("G%1").arg(i)));
        const discogs::ExportOutcome cancelled =
            discogs::exportCollection(db, path, [](qint64, qint64) { return false; });
        QVERIFY(cancelled.cancelled);
        QVERIFY(!cancelled.ok);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("alt"));
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("sammlung.csv")});

        const discogs::ExportOutcome missing =
            discogs::exportCollection(db, dir + QStringLiteral("/fehlt/sammlung.csv"));
        QVERIFY(!missing.ok);
        QVERIFY2(missing.error.contains(QStringLiteral("Der Ordner ist nicht vorhanden")),
                 qPrintable(missing.error));
    }
};

QTEST_GUILESS_MAIN(TestDiscogsImport)
#include "tst_discogsimport.moc"
