// A Discogs collection row mapped onto carrier fields and back, without a database.
#include "core/catalogue/discogsformat.h"

#include <QTest>

using discogs::CarrierFields;
using discogs::CollectionRow;

Q_DECLARE_METATYPE(CollectionRow)
Q_DECLARE_METATYPE(CarrierFields)

namespace {

CollectionRow row(const QString& artist, const QString& title, const QString& format) {
    CollectionRow r;
    r.catalog = QStringLiteral("none");
    r.artist = artist;
    r.title = title;
    r.format = format;
    r.folder = QStringLiteral("Uncategorized");
    return r;
}

} // namespace

class TestDiscogsFormat : public QObject {
    Q_OBJECT

private slots:
    void formatToType_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("type");
        QTest::newRow("LP") << "LP, Album, RE"
                            << "LP";
        QTest::newRow("double LP") << "2xLP, Album"
                                   << "LP";
        QTest::newRow("single") << "7\", Single, 45 RPM"
                                << "Single";
        QTest::newRow("7 inch EP") << "7\", EP"
                                   << "EP";
        QTest::newRow("maxi") << "12\", Maxi, 45 RPM"
                              << "Maxi";
        QTest::newRow("12 inch EP") << "12\", EP"
                                    << "EP";
        QTest::newRow("12 inch LP") << "12\", LP, Album"
                                    << "LP";
        QTest::newRow("10 inch by name") << "10\", Album"
                                         << "10\"";
        QTest::newRow("vinyl with size") << "Vinyl, 7\", Single"
                                         << "Single";
        QTest::newRow("vinyl 12 with LP") << "Vinyl, 12\", 33 ⅓ RPM, LP"
                                          << "LP";
        QTest::newRow("vinyl without size") << "Vinyl, Album"
                                            << "LP";
        QTest::newRow("CD") << "CD, Album"
                            << "CD";
        QTest::newRow("several CDr") << "3xCDr, Comp"
                                     << "CD";
        QTest::newRow("cass") << "Cass, Album"
                              << "MC";
        QTest::newRow("cassette") << "cassette"
                                  << "MC";
        QTest::newRow("other by name") << "Box Set, Comp"
                                       << "Box Set";
        QTest::newRow("empty") << ""
                               << "";
    }
    void formatToType() {
        QFETCH(QString, format);
        QFETCH(QString, type);
        QCOMPARE(discogs::typeForFormat(format), type);
    }

    void grades_data() {
        QTest::addColumn<QString>("discogs");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("exported");
        QTest::newRow("mint") << "Mint (M)"
                              << "M"
                              << "Mint (M)";
        QTest::newRow("near mint") << "Near Mint (NM or M-)"
                                   << "NM"
                                   << "Near Mint (NM or M-)";
        QTest::newRow("M- short") << "M-"
                                  << "NM"
                                  << "Near Mint (NM or M-)";
        QTest::newRow("VG+") << "Very Good Plus (VG+)"
                             << "VG+"
                             << "Very Good Plus (VG+)";
        QTest::newRow("VG short") << "vg"
                                  << "VG"
                                  << "Very Good (VG)";
        QTest::newRow("G+") << "Good Plus (G+)"
                            << "G+"
                            << "Good Plus (G+)";
        QTest::newRow("G") << "Good (G)"
                           << "G"
                           << "Good (G)";
        QTest::newRow("F") << "Fair (F)"
                           << "F"
                           << "Fair (F)";
        QTest::newRow("P") << "Poor (P)"
                           << "P"
                           << "Poor (P)";
        QTest::newRow("other text") << "Generic"
                                    << "Generic"
                                    << "Generic";
    }
    void grades() {
        QFETCH(QString, discogs);
        QFETCH(QString, stored);
        QFETCH(QString, exported);
        QCOMPARE(discogs::shortGrade(discogs), stored);
        QCOMPARE(discogs::gradeWords(stored), exported);
    }

    // Row → fields → export row: the fields as the import stores them, and the row the
    // export writes for them, which is the same row where Discogs' own form was read.
    void rowToFieldsToRow_data() {
        QTest::addColumn<CollectionRow>("input");
        QTest::addColumn<CarrierFields>("fields");
        QTest::addColumn<CollectionRow>("output");

        CollectionRow full =
            row(QStringLiteral("Nena (2) & Kim Wilde (3)"),
                QStringLiteral("Anyplace, Anywhere, Anytime"), QStringLiteral("7\", Single"));
        full.catalog = QStringLiteral("6.14 123");
        full.label = QStringLiteral("CBS (2)");
        full.rating = QStringLiteral("4");
        full.released = QStringLiteral("1984-05-02");
        full.releaseId = QStringLiteral("123456");
        full.folder = QStringLiteral("Schätze");
        full.dateAdded = QStringLiteral("2017-06-19 03:33:36");
        full.mediaCondition = QStringLiteral("Very Good Plus (VG+)");
        full.sleeveCondition = QStringLiteral("Generic");
        full.notes = QStringLiteral("erste Zeile\nzweite, mit Komma");
        CarrierFields f;
        f.group = QStringLiteral("Nena & Kim Wilde");
        f.title = QStringLiteral("Anyplace, Anywhere, Anytime");
        f.typeName = QStringLiteral("Single");
        f.company = QStringLiteral("CBS");
        f.orderCode = QStringLiteral("6.14 123");
        f.rating = 4;
        f.year = QStringLiteral("1984");
        f.condition = QStringLiteral("VG+");
        f.releaseId = QStringLiteral("123456");
        f.textLines = QStringList{QStringLiteral("Format: 7\", Single"),
                                  QStringLiteral("Hülle: Generic"),
                                  QStringLiteral("Notiz: erste Zeile"),
                                  QStringLiteral("Notiz: zweite, mit Komma"),
                                  QStringLiteral("Discogs-Ordner: Schätze"),
                                  QStringLiteral("Discogs hinzugefügt: 2017-06-19 03:33:36")};
        CollectionRow back = full;
        back.artist = f.group;
        back.label = f.company;
        back.released = f.year;
        QTest::newRow("every column") << full << f << back;

        CollectionRow several =
            row(QStringLiteral("Abba"), QStringLiteral("Arrival"), QStringLiteral("LP, Album"));
        several.label = QStringLiteral("Polar, Polydor (2)");
        several.catalog = QStringLiteral("POLS 272, 2344 058");
        several.rating = QString();
        several.released = QStringLiteral("0");
        CarrierFields s;
        s.group = QStringLiteral("Abba");
        s.title = QStringLiteral("Arrival");
        s.typeName = QStringLiteral("LP");
        s.company = QStringLiteral("Polar");
        s.orderCode = QStringLiteral("POLS 272");
        s.textLines = QStringList{QStringLiteral("Format: LP, Album"),
                                  QStringLiteral("Label: Polar, Polydor (2)"),
                                  QStringLiteral("Katalognummer: POLS 272, 2344 058")};
        CollectionRow severalBack = several;
        severalBack.released.clear();
        QTest::newRow("several labels and numbers, empty rating") << several << s << severalBack;

        const QString longLabel = QStringLiteral("Deutsche Grammophon Gesellschaft mbH");
        const QString longCatalog = QStringLiteral("0123456789012345678901");
        CollectionRow cut =
            row(QStringLiteral("Karajan"), QStringLiteral("Ring"), QStringLiteral("CD"));
        cut.label = longLabel;
        cut.catalog = longCatalog;
        CarrierFields c;
        c.group = QStringLiteral("Karajan");
        c.title = QStringLiteral("Ring");
        c.typeName = QStringLiteral("CD");
        c.company = longLabel.left(30);
        c.orderCode = longCatalog.left(20);
        c.textLines =
            QStringList{QStringLiteral("Format: CD"), QStringLiteral("Label: ") + longLabel,
                        QStringLiteral("Katalognummer: ") + longCatalog};
        QTest::newRow("label and number cut") << cut << c << cut;
    }
    void rowToFieldsToRow() {
        QFETCH(CollectionRow, input);
        QFETCH(CarrierFields, fields);
        QFETCH(CollectionRow, output);
        CarrierFields mapped;
        QCOMPARE(discogs::toCarrier(input, mapped), QString());
        QCOMPARE(mapped.group, fields.group);
        QCOMPARE(mapped.textLines, fields.textLines);
        QCOMPARE(mapped, fields);
        QCOMPARE(discogs::cells(discogs::toRow(mapped)), discogs::cells(output));
    }

    // A carrier that never came from Discogs: its fields alone make the row.
    void fieldsToRow_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("rating");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("exportedRating");
        QTest::newRow("LP") << "LP" << 0 << "LP"
                            << "";
        QTest::newRow("single") << "Single" << 3 << "7\""
                                << "3";
        QTest::newRow("maxi") << "Maxi" << 5 << "12\""
                              << "5";
        QTest::newRow("EP") << "EP" << 9 << "7\", EP"
                            << "5";
        QTest::newRow("MC") << "MC" << 1 << "Cass"
                            << "1";
        QTest::newRow("CD") << "CD" << 0 << "CD"
                            << "";
        QTest::newRow("other") << "DAT" << 0 << "DAT"
                               << "";
    }
    void fieldsToRow() {
        QFETCH(QString, type);
        QFETCH(int, rating);
        QFETCH(QString, format);
        QFETCH(QString, exportedRating);
        CarrierFields f;
        f.group = QStringLiteral("Gruppe");
        f.title = QStringLiteral("Titel");
        f.typeName = type;
        f.rating = rating;
        f.condition = QStringLiteral("M");
        f.textLines = QStringList{QStringLiteral("eigene Zeile: bleibt im Text")};
        const CollectionRow r = discogs::toRow(f);
        QCOMPARE(r.format, format);
        QCOMPARE(r.rating, exportedRating);
        QCOMPARE(r.catalog, QStringLiteral("none"));
        QCOMPARE(r.folder, QStringLiteral("Uncategorized"));
        QCOMPARE(r.mediaCondition, QStringLiteral("Mint (M)"));
        QCOMPARE(r.notes, QString());
    }

    void unusableRows_data() {
        QTest::addColumn<QString>("rating");
        QTest::addColumn<QString>("releaseId");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("rating text") << "gut"
                                     << "1"
                                     << "T"
                                     << "Die Bewertung „gut“ ist keine ganze Zahl von 0 bis 5.";
        QTest::newRow("rating above 5") << "6"
                                        << "1"
                                        << "T"
                                        << "Die Bewertung „6“ ist keine ganze Zahl von 0 bis 5.";
        QTest::newRow("rating fraction") << "4.5"
                                         << "1"
                                         << "T"
                                         << "Die Bewertung „4.5“ ist keine ganze Zahl von 0 bis 5.";
        QTest::newRow("release id text") << ""
                                         << "r123"
                                         << "T"
                                         << "Die release_id „r123“ ist keine Nummer.";
        QTest::newRow("control character") << ""
                                           << "1"
                                           << "T\x01"
                                           << "Die Spalte „Title“ enthält Steuerzeichen.";
        QTest::newRow("line break in title") << ""
                                             << "1"
                                             << "a\nb"
                                             << "Die Spalte „Title“ enthält Steuerzeichen.";
    }
    void unusableRows() {
        QFETCH(QString, rating);
        QFETCH(QString, releaseId);
        QFETCH(QString, title);
        QFETCH(QString, message);
        CollectionRow r = row(QStringLiteral("A"), title, QStringLiteral("LP"));
        r.rating = rating;
        r.releaseId = releaseId;
        CarrierFields f;
        QCOMPARE(discogs::toCarrier(r, f), message);
    }

    // Further "Collection NAME" columns become lines of their own; none of them is lost.
    void furtherCollectionColumns() {
        CollectionRow r = row(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("LP"));
        r.notes = QStringLiteral("eins\n\nzwei");
        r.extra = {{QStringLiteral("Preis"), QStringLiteral("12 €")},
                   {QStringLiteral("Ort"), QStringLiteral("Regal 3\nunten")}};
        CarrierFields f;
        QCOMPARE(discogs::toCarrier(r, f), QString());
        QCOMPARE(f.textLines,
                 (QStringList{QStringLiteral("Format: LP"), QStringLiteral("Notiz: eins"),
                              QStringLiteral("Notiz: zwei"), QStringLiteral("Preis: 12 €"),
                              QStringLiteral("Ort: Regal 3"), QStringLiteral("Ort: unten")}));
    }
};

QTEST_APPLESS_MAIN(TestDiscogsFormat)
#include "tst_discogsformat.moc"
