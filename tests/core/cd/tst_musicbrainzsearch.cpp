#include "core/cd/musicbrainzsearch.h"

#include <QFile>
#include <QTest>

using musicbrainz::SearchTerms;

namespace {

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(MUSICBRAINZ_FIXTURES) + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

SearchTerms terms(SearchTerms::Kind kind, const QString& a, const QString& b = QString()) {
    SearchTerms t;
    t.kind = kind;
    t.barcode = a;
    t.catalogueNumber = a;
    t.title = a;
    t.artist = b;
    return t;
}

const QString kBarcodeLength = QStringLiteral("Ein Barcode hat 8, 12 oder 13 Ziffern.");

} // namespace

class TestMusicBrainzSearch : public QObject {
    Q_OBJECT
private slots:
    void queries_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("query"); // empty: refused
        QTest::addColumn<QString>("error");
        const int barcode = int(SearchTerms::Kind::Barcode);
        const int catno = int(SearchTerms::Kind::CatalogueNumber);
        const int title = int(SearchTerms::Kind::TitleAndArtist);
        QTest::newRow("EAN-8 with a blank") << barcode << "4003 9940"
                                            << ""
                                            << "barcode:40039940"
                                            << "";
        QTest::newRow("UPC: also as EAN-13") << barcode << "0 77774-62082 6"
                                             << ""
                                             << "barcode:077774620826 OR barcode:0077774620826"
                                             << "";
        QTest::newRow("EAN-13 with a leading 0: also as UPC")
            << barcode << "0077774620826"
            << ""
            << "barcode:0077774620826 OR barcode:077774620826"
            << "";
        QTest::newRow("EAN-13") << barcode << "5-099902-894225"
                                << ""
                                << "barcode:5099902894225"
                                << "";
        QTest::newRow("11 digits") << barcode << "12345678901"
                                   << ""
                                   << "" << kBarcodeLength;
        QTest::newRow("14 digits") << barcode << "12345678901234"
                                   << ""
                                   << "" << kBarcodeLength;
        QTest::newRow("a letter O for a zero") << barcode << "50999O2894225"
                                               << ""
                                               << "" << kBarcodeLength;
        QTest::newRow("no barcode") << barcode << "  "
                                    << ""
                                    << "" << kBarcodeLength;
        QTest::newRow("catalogue number as typed") << catno << " CDP 7 46208 2 "
                                                   << ""
                                                   << "catno:\"CDP 7 46208 2\""
                                                   << "";
        QTest::newRow("quote and backslash escaped") << catno << "A\"B\\C"
                                                     << ""
                                                     << "catno:\"A\\\"B\\\\C\""
                                                     << "";
        QTest::newRow("no catalogue number") << catno << ""
                                             << ""
                                             << ""
                                             << "Bitte eine Katalognummer eingeben.";
        QTest::newRow("title and artist") << title << "Arrival"
                                          << "ABBA"
                                          << "release:\"Arrival\" AND artist:\"ABBA\""
                                          << "";
        QTest::newRow("Lucene words stay inside the quotes")
            << title << "Love AND Peace"
            << "AC/DC"
            << "release:\"Love AND Peace\" AND artist:\"AC/DC\""
            << "";
        QTest::newRow("title alone") << title << "Arrival"
                                     << ""
                                     << "release:\"Arrival\""
                                     << "";
        QTest::newRow("artist alone") << title << ""
                                      << "ABBA"
                                      << "artist:\"ABBA\""
                                      << "";
        QTest::newRow("neither") << title << " "
                                 << ""
                                 << ""
                                 << "Bitte einen Titel oder einen Interpreten eingeben.";
    }
    void queries() {
        QFETCH(int, kind);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, query);
        QFETCH(QString, error);
        QString message;
        const auto got =
            musicbrainz::searchQuery(terms(SearchTerms::Kind(kind), first, second), &message);
        QCOMPARE(got.value_or(QString()), query);
        QCOMPARE(message, error);
    }

    // "&" and "+" must reach the service as typed, not as a parameter break or a blank.
    void targetEncodesTheQueryWhole_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("target");
        QTest::newRow("ampersand and plus")
            << "catno:\"A&B+C\"" << 0
            << "/ws/2/release/?query=catno%3A%22A%26B%2BC%22&fmt=json&limit=25&offset=0";
        QTest::newRow("umlauts, second page")
            << "release:\"Köln\" AND artist:\"Ärzte\"" << 25
            << "/ws/2/release/?query=release%3A%22K%C3%B6ln%22%20AND%20artist%3A%22%C3%84rzte%22"
               "&fmt=json&limit=25&offset=25";
    }
    void targetEncodesTheQueryWhole() {
        QFETCH(QString, query);
        QFETCH(int, offset);
        QFETCH(QString, target);
        QCOMPARE(musicbrainz::searchTarget(query, offset), target);
    }

    void pages_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("range");
        QTest::addColumn<int>("hits");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<bool>("next");
        QTest::newRow("first page")
            << fixture("search_page1.json") << "Treffer 1-25 von 27" << 25 << false << true;
        QTest::newRow("last page")
            << fixture("search_page2.json") << "Treffer 26-27 von 27" << 2 << true << false;
        QTest::newRow("nothing found")
            << fixture("search_none.json") << "Keine Treffer" << 0 << false << false;
        const QByteArray oneHit = R"(, "releases": [{"id": "a", "title": "T"}]})";
        QTest::newRow("negative offset and count")
            << QByteArray(R"({"count": -3, "offset": -5)") + oneHit << "Treffer 1-1 von 1" << 1
            << false << false;
        QTest::newRow("offset at the integer limit")
            << QByteArray(R"({"count": 2147483647, "offset": 2147483647)") + oneHit
            << "Treffer 1000000001-1000000001 von 1000000001" << 1 << true << false;
    }
    void pages() {
        QFETCH(QByteArray, json);
        QFETCH(QString, range);
        QFETCH(int, hits);
        QFETCH(bool, previous);
        QFETCH(bool, next);
        const auto page = musicbrainz::parseSearchReply(json);
        QVERIFY(page);
        QCOMPARE(page->range(), range);
        QCOMPARE(page->hits.size(), hits);
        QCOMPARE(page->hasPrevious(), previous);
        QCOMPARE(page->hasNext(), next);
    }

    void hitColumns_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("columns"); // title .. barcode, tracks, MBID
        QTest::newRow("two equal media, two label pairs")
            << 0
            << QStringList{"Ankunft",
                           "Die Flöten & Hans",
                           "2×12\" Vinyl",
                           "SE",
                           "1976",
                           "Polar / Polydor",
                           "POLS 272 / 2344 058",
                           "7320047010061",
                           "9",
                           "cccccccc-0000-4000-8000-000000000001"};
        QTest::newRow("mixed media, a label without number, no date")
            << 1
            << QStringList{"Mischung",
                           "Gruppe 2",
                           "12\" Vinyl + CD",
                           "",
                           "",
                           "Ohne Nummer",
                           "",
                           "",
                           "20",
                           "cccccccc-0000-4000-8000-000000000002"};
    }
    void hitColumns() {
        QFETCH(int, index);
        QFETCH(QStringList, columns);
        const auto page = musicbrainz::parseSearchReply(fixture("search_page1.json"));
        QVERIFY(page);
        const musicbrainz::Hit& h = page->hits.at(index);
        QCOMPARE((QStringList{h.title, h.artist, h.format, h.country, h.year, h.labels,
                              h.catalogueNumbers, h.barcode, QString::number(h.tracks), h.id}),
                 columns);
    }

    void notTheServicesJson_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("html") << QByteArray("<html>503 Service Unavailable</html>");
        QTest::newRow("cut off") << fixture("search_page1.json").left(400);
        QTest::newRow("error object") << fixture("not_found.json");
    }
    void notTheServicesJson() {
        QFETCH(QByteArray, body);
        QVERIFY(!musicbrainz::parseSearchReply(body));
    }
};

QTEST_GUILESS_MAIN(TestMusicBrainzSearch)
#include "tst_musicbrainzsearch.moc"
