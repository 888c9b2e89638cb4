// The carrier file format: layout, encodings and the values the reader refuses.
#include "core/catalogue/carrierfile.h"

#include <QTest>

using namespace carrierfile;

class TestCarrierFile : public QObject {
    Q_OBJECT

    static Carrier sample() {
        Carrier c;
        c.text1 = QStringLiteral("Abba");
        c.text2 = QStringLiteral("Gold");
        c.numbering = 17;
        c.year = QStringLiteral("1992");
        c.songCount = 1;
        c.time = 3.45;
        c.withPurchase = true;
        c.price = 12.5;
        c.currency = QStringLiteral("EUR");
        c.purchaseDate = QDate(2004, 12, 29);
        c.type = QStringLiteral("LP");
        c.hasText = true;
        c.textLines = {QStringLiteral("eins"), QStringLiteral("zwei")};
        Song s;
        s.side = 1;
        s.number = 1;
        s.title = QStringLiteral("Waterloo");
        s.time = 2.5;
        s.hasInfo = true;
        s.bpmFrom = 96;
        s.danceStyle = QStringLiteral("Jive");
        c.songs.push_back(s);
        return c;
    }
    static QByteArray file(const char* carrier, const char* rest = "") {
        return QByteArray("[Tonträger]\r\n") + carrier + "\r\n" + rest;
    }

private slots:
    void layout() {
        const QByteArray expected =
            "[Tontr\xE4ger]\r\nText 1=\"Abba\"\r\nText 2=\"Gold\"\r\nNummer=17\r\n"
            "Erscheinungsjahr=\"1992\"\r\nAnzahl der Lieder=1\r\nLaufzeit=3.45\r\n"
            "Kaufpreis=12.50\r\nW\xE4hrung=\"EUR\"\r\nKaufdatum=\"29.12.2004\"\r\nBewertung=0\r\n"
            "Tontr\xE4gerart=\"LP\"\r\nMusikrichtung=\"\"\r\nTontr\xE4gerstatus=\"\"\r\n"
            "Pressung=\"\"\r\nZustand=\"\"\r\nAufnahme=\"\"\r\nHersteller=\"\"\r\nBestellcode="
            "\"\"\r\n"
            "\r\n[Freier Text]\r\nZeile 1=\"eins\"\r\nZeile 2=\"zwei\"\r\n"
            "\r\n[Export-Info]\r\nText-Zeilen=2\r\nLiederanzahl=1\r\n"
            "\r\n[Lied 1]\r\nSeite=1\r\nNummer=1\r\nTitel=\"Waterloo\"\r\nInterpret=\"\"\r\n"
            "Laufzeit=2.50\r\nMusikrichtung=\"\"\r\nZ\xE4hler von=0\r\nZ\xE4hler bis=0\r\n"
            "Bewertung=0\r\nErscheinungsjahr=\"\"\r\nBPM von=96\r\nBPM "
            "bis=0\r\nTanzstil=\"Jive\"\r\n";
        QCOMPARE(format(sample()), expected);
    }

    void encodings_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("euro fits Windows-1252") << QStringLiteral("Preis in €") << false;
        QTest::newRow("quotes and blanks") << QStringLiteral(" \"Live\" at  Wembley ") << false;
        QTest::newRow("outside Windows-1252") << QStringLiteral("Ωmega") << true;
    }
    void encodings() {
        QFETCH(QString, title);
        QFETCH(bool, utf8);
        Carrier c = sample();
        c.text2 = title;
        const QByteArray bytes = format(c);
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), utf8);
        const Parsed p = parse(bytes);
        QVERIFY2(p.ok, qPrintable(p.error.text()));
        QCOMPARE(p.carrier.text2, title);
        QCOMPARE(format(p.carrier), bytes);
    }

    void utf8WithoutBom() {
        const Parsed p = parse(QStringLiteral("[Tonträger]\nText 1=\"Ärzte\"\n").toUtf8());
        QVERIFY(p.ok);
        QCOMPARE(p.carrier.text1, QStringLiteral("Ärzte"));
    }

    void memoLines_data() {
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("crlf") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("cr and lf") << "a\rb\nc" << QStringList{"a", "b", "c"};
        QTest::newRow("empty line kept") << "a\r\n\r\nb" << QStringList{"a", "", "b"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void memoLines() {
        QFETCH(QString, memo);
        QFETCH(QStringList, lines);
        QCOMPARE(carrierfile::memoLines(memo), lines);
    }

    void values_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error"); // empty: accepted
        QTest::newRow("keys in any case, blanks around")
            << file("TEXT 1 =  \"A\"  \r\nlaufzeit= 3.45 ") << "";
        QTest::newRow("no carrier section")
            << QByteArray("[Lied 1]\r\nSeite=1\r\n") << "Der Abschnitt [Tonträger] fehlt.";
        QTest::newRow("empty Text 1") << file("Text 1=\"\"") << "Zeile 2: \"Text 1\"";
        QTest::newRow("decimal comma")
            << file("Text 1=\"A\"\r\nLaufzeit=3,45") << "Zeile 3: \"Laufzeit\" ist keine Zahl";
        QTest::newRow("seconds .60") << file("Text 1=\"A\"\r\nLaufzeit=3.60")
                                     << "Zeile 3: \"Laufzeit\" ist keine gültige Laufzeit";
        QTest::newRow("integer with text")
            << file("Text 1=\"A\"\r\nNummer=12a") << "Zeile 3: \"Nummer\" ist keine ganze Zahl";
        QTest::newRow("invalid date") << file("Text 1=\"A\"\r\nKaufdatum=\"31.02.2004\"")
                                      << "Zeile 3: \"Kaufdatum\" ist kein gültiges Datum";
        QTest::newRow("BPM outside its field")
            << file("Text 1=\"A\"",
                    "[Export-Info]\r\nLiederanzahl=1\r\n[Lied 1]\r\nBPM von=40000\r\n")
            << "Zeile 6: \"BPM von\" liegt außerhalb";
        QTest::newRow("missing song") << file("Text 1=\"A\"", "[Export-Info]\r\nLiederanzahl=2\r\n"
                                                              "[Lied 1]\r\nSeite=1\r\n")
                                      << "Zeile 4: Der Abschnitt [Lied 2] fehlt.";
        QTest::newRow("song repeats side and number")
            << file("Text 1=\"A\"", "[Export-Info]\r\nLiederanzahl=2\r\n[Lied 1]\r\nSeite=1\r\n"
                                    "Nummer=1\r\n[Lied 2]\r\nSeite=1\r\nNummer=1\r\n")
            << "Zeile 8: [Lied 2] wiederholt Seite 1, Nummer 1";
    }
    void values() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const Parsed p = parse(bytes);
        QCOMPARE(p.ok, error.isEmpty());
        if (!p.ok)
            QVERIFY2(p.error.text().startsWith(error), qPrintable(p.error.text()));
        else
            QCOMPARE(p.carrier.time, 3.45);
    }
};

QTEST_GUILESS_MAIN(TestCarrierFile)
#include "tst_carrierfile.moc"
