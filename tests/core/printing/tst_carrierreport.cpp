#include "core/printing/carrierreport.h"
#include "reportfixture.h"
#include "support/scriptedmessageservice.h"

#include <QTest>

// The carrier sheet and print all on a printer of known resolution: where head, songs and
// foot land on the pages.
class TestCarrierReport : public QObject {
    Q_OBJECT

    static carrierreport::Options options(const QString& head, const QString& page,
                                          const QString& foot) {
        carrierreport::Options o;
        o.templ.type = 2;
        o.templ.indexNummer = 1;
        o.templ.seitenrand = 20;
        o.templ.kopfText = head;
        o.templ.seitenText = page;
        o.templ.fussText = foot;
        o.fontName = QStringLiteral("Courier New");
        o.fontSize = 12;
        return o;
    }

    static void songs(ReportData& d, int carrier, int count) {
        for (int i = 1; i <= count; ++i)
            d.song(carrier, 1, i, QStringLiteral("Lied %1").arg(i));
    }

private slots:
    // Head on top and foot at the bottom of every page, no empty page; song names in head
    // and foot refer to the song printed next.
    void carrierOverPages_data() {
        QTest::addColumn<QString>("foot");
        QTest::addColumn<int>("footLines");
        QTest::newRow("one-line foot") << "F $TITEL$" << 1;
        QTest::newRow("two-line foot") << "F $TITEL$\r\nS. $SYSSEITE$" << 2;
        QTest::newRow("foot ending in a break") << "F $TITEL$\r\n" << 2;
    }
    void carrierOverPages() {
        QFETCH(QString, foot);
        QFETCH(int, footLines);
        ReportData d;
        d.carrier(1, QStringLiteral("Abba"), QStringLiteral("Gold"));
        songs(d, 1, 130);
        ScriptedMessageService messages;
        const auto o =
            options(QStringLiteral("K $TEXT_1$ $TITEL$"), QStringLiteral("S $TITEL$"), foot);
        QCOMPARE(carrierreport::printCarrier(d.printer, d.db, messages, o, 1),
                 ReportStatus::Composed);
        const TPagePrinter& p = d.printer;
        QVERIFY(p.PageCount() >= 3);
        const int lh = p.LineHeight();
        const int top = p.topMarginPixels();
        const int k = lh * std::max(2 * footLines, footLines + 2);
        int songsSeen = 0;
        for (int page = 1; page <= p.PageCount(); ++page) {
            const auto lines = d.lines(page);
            QVERIFY(lines.size() >= 2 + 1);
            QCOMPARE(lines.first().first, top);
            QVERIFY(lines.first().second.startsWith(QStringLiteral("K Abba ")));
            // The head names the first song of the page.
            QCOMPARE(lines.first().second.mid(7), lines.at(1).second.mid(2));
            const auto& footLine =
                lines.at(lines.size() - (footLines == 2 && !foot.endsWith('\n') ? 2 : 1));
            QVERIFY2(footLine.second.startsWith(QStringLiteral("F Lied ")),
                     qPrintable(footLine.second));
            QVERIFY2(footLine.first - top >= p.PrintableHeight() - k,
                     qPrintable(QString::number(page)));
            QVERIFY(lines.last().first + lh <= top + p.PrintableHeight());
            for (const auto& line : lines)
                songsSeen += line.second.startsWith(QStringLiteral("S Lied ")) ? 1 : 0;
            if (page < p.PageCount()) { // the foot names the song that opens the next page
                const auto next = d.lines(page + 1);
                QVERIFY(next.size() >= 2);
                QCOMPARE(footLine.second.mid(2), next.at(1).second.mid(2));
            } else
                QCOMPARE(footLine.second, QStringLiteral("F Lied 130"));
        }
        QCOMPARE(songsSeen, 130);
    }

    void emptyPartComposesNothing_data() {
        QTest::addColumn<int>("empty");
        QTest::addColumn<int>("help");
        QTest::addColumn<QString>("text");
        QTest::newRow("head") << 0 << 5006 << "zum Ausdruck der Kopfzeile.";
        QTest::newRow("page") << 1 << 5007 << "zum Ausdruck des Textes.";
        QTest::newRow("foot") << 2 << 5008 << "zum Ausdruck der Fußzeile.";
    }
    void emptyPartComposesNothing() {
        QFETCH(int, empty);
        QFETCH(int, help);
        QFETCH(QString, text);
        ReportData d;
        d.carrier(1, QStringLiteral("A"), QStringLiteral("B"));
        auto o = options(QStringLiteral("K"), QStringLiteral("S"), QStringLiteral("F"));
        QString* parts[] = {&o.templ.kopfText, &o.templ.seitenText, &o.templ.fussText};
        parts[empty]->clear();
        for (bool all : {false, true}) {
            ScriptedMessageService messages;
            const ReportStatus status =
                all ? carrierreport::printAll(d.printer, d.db, messages, o)
                    : carrierreport::printCarrier(d.printer, d.db, messages, o, 1);
            QCOMPARE(status, ReportStatus::Failed);
            QCOMPARE(d.printer.PageCount(), 0);
            QCOMPARE(messages.messages().size(), 1);
            const Message& m = messages.messages().first();
            QCOMPARE(m.kind, MessageKind::Information);
            QCOMPARE(m.helpContext, help);
            QVERIFY(m.text.contains(text));
            QVERIFY(
                m.text.startsWith(QStringLiteral("Die Druckvorlage enthält keine Informationen")));
        }
    }

    // Additional text between head and songs only when asked for and not empty; a carrier
    // without songs prints head, text and foot.
    void additionalText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<int>("songCount");
        QTest::addColumn<QStringList>("expected");
        const QStringList songs{"S 1", "S 2"};
        QTest::newRow("asked") << "Zeile $TEXT_1$\r\nzwei" << true << 2
                               << (QStringList{"K", "Zeile A", "zwei", "S 1", "S 2", "F"});
        QTest::newRow("not asked") << "Zeile" << false << 2 << QStringList{"K", "S 1", "S 2", "F"};
        QTest::newRow("empty text") << "" << true << 2 << QStringList{"K", "S 1", "S 2", "F"};
        QTest::newRow("no songs") << "Zeile" << true << 0 << QStringList{"K", "Zeile", "F"};
        QTest::newRow("no songs, no text") << "" << false << 0 << QStringList{"K", "F"};
    }
    void additionalText() {
        QFETCH(QString, text);
        QFETCH(bool, asked);
        QFETCH(int, songCount);
        QFETCH(QStringList, expected);
        ReportData d;
        d.carrier(1, QStringLiteral("A"), QStringLiteral("B"));
        for (int i = 1; i <= songCount; ++i)
            d.song(1, 1, i, QString());
        if (!text.isEmpty())
            d.text(1, text);
        ScriptedMessageService messages;
        auto o = options(QStringLiteral("K"), QStringLiteral("S $LIEDNR$"), QStringLiteral("F"));
        o.templ.seitenText = QStringLiteral("S$LIEDNR$");
        o.additionalText = asked;
        QCOMPARE(carrierreport::printCarrier(d.printer, d.db, messages, o, 1),
                 ReportStatus::Composed);
        QCOMPARE(d.printer.PageCount(), 1);
        QStringList got;
        for (const auto& line : d.lines(1))
            got << line.second;
        QCOMPARE(got, expected);
    }

    void printAll_data() {
        QTest::addColumn<bool>("pageFeed");
        QTest::addColumn<int>("pages");
        QTest::newRow("page feed") << true << 3;
        QTest::newRow("no page feed") << false << 1;
    }
    void printAll() {
        QFETCH(bool, pageFeed);
        QFETCH(int, pages);
        ReportData d;
        for (int c = 1; c <= 3; ++c) {
            d.carrier(c, QStringLiteral("T%1").arg(c), QString());
            songs(d, c, 2);
        }
        ScriptedMessageService messages;
        auto o = options(QStringLiteral("K $TEXT_1$"), QStringLiteral("S $TITEL$"),
                         QStringLiteral("F $TEXT_1$"));
        o.pageFeed = pageFeed;
        QCOMPARE(carrierreport::printAll(d.printer, d.db, messages, o), ReportStatus::Composed);
        QCOMPARE(d.printer.PageCount(), pages);
        QStringList all;
        for (int page = 1; page <= pages; ++page)
            for (const auto& line : d.lines(page))
                all << line.second;
        QCOMPARE(all, (QStringList{"K T1", "S Lied 1", "S Lied 2", "F T1", "K T2", "S Lied 1",
                                   "S Lied 2", "F T2", "K T3", "S Lied 1", "S Lied 2", "F T3"}));
        const int bottom = d.printer.topMarginPixels() + d.printer.PrintableHeight();
        const auto last = d.lines(pages).last();
        QVERIFY(last.first > bottom - 4 * d.printer.LineHeight()); // the last foot is pushed
        if (!pageFeed) // the other feet stay with their carriers
            QCOMPARE(d.lines(1).at(4).first - d.lines(1).at(3).first, d.printer.LineHeight());
    }

    // Without page feed a full page still ends with its foot at the bottom.
    void printAllWithoutFeedBreaksPages() {
        ReportData d;
        for (int c = 1; c <= 40; ++c) {
            d.carrier(c, QStringLiteral("T%1").arg(c), QString());
            songs(d, c, 3);
        }
        ScriptedMessageService messages;
        auto o = options(QStringLiteral("K $TEXT_1$"), QStringLiteral("S $TITEL$"),
                         QStringLiteral("F $TEXT_1$"));
        o.pageFeed = false;
        QCOMPARE(carrierreport::printAll(d.printer, d.db, messages, o), ReportStatus::Composed);
        QVERIFY(d.printer.PageCount() > 1);
        int heads = 0;
        for (int page = 1; page <= d.printer.PageCount(); ++page) {
            const auto lines = d.lines(page);
            QVERIFY(lines.first().second.startsWith(QStringLiteral("K T")));
            QVERIFY(lines.last().second.startsWith(QStringLiteral("F T")));
            for (const auto& line : lines)
                heads += line.second.startsWith(QStringLiteral("K T")) ? 1 : 0;
        }
        QCOMPARE(heads, 40);
    }

    void emptyCollectionGivesOneEmptyPage() {
        ReportData d;
        ScriptedMessageService messages;
        const auto o = options(QStringLiteral("K"), QStringLiteral("S"), QStringLiteral("F"));
        QCOMPARE(carrierreport::printAll(d.printer, d.db, messages, o), ReportStatus::Composed);
        QCOMPARE(d.printer.PageCount(), 1);
        QVERIFY(d.lines(1).isEmpty());
    }

    void carrierGone() {
        ReportData d;
        ScriptedMessageService messages;
        const auto o = options(QStringLiteral("K"), QStringLiteral("S"), QStringLiteral("F"));
        QCOMPARE(carrierreport::printCarrier(d.printer, d.db, messages, o, 9),
                 ReportStatus::Failed);
        QCOMPARE(messages.messages().size(), 1);
        QCOMPARE(messages.messages().first().text,
                 QStringLiteral("Der Tonträger ist nicht mehr vorhanden."));
        QCOMPARE(messages.messages().first().kind, MessageKind::Information);
    }

    void abortStopsTheReport() {
        ReportData d;
        d.carrier(1, QStringLiteral("A"), QString());
        songs(d, 1, 50);
        ScriptedMessageService messages;
        const auto o =
            options(QStringLiteral("K"), QStringLiteral("S $TITEL$"), QStringLiteral("F"));
        int asked = 0;
        ReportProgress progress;
        progress.abortRequested = [&] { return ++asked > 100; };
        QCOMPARE(carrierreport::printCarrier(d.printer, d.db, messages, o, 1, progress),
                 ReportStatus::Failed);
        QVERIFY(!d.printer.Printing());
        QVERIFY(messages.messages().isEmpty());
    }

    // Names of a song without its information record, and lookups without a row.
    void songNames() {
        ReportData d;
        d.lookup("MusikTanzStil", 0, QStringLiteral("kein"), QStringLiteral("kein Tanz"));
        d.lookup("MUSIKART", 1, QStringLiteral("LP"), QStringLiteral("Langspielplatte"));
        d.carrier(1, QStringLiteral("A"), QString(), 7);
        d.song(1, 1, 3, QStringLiteral("T"));
        ScriptedMessageService messages;
        const auto o = options(QStringLiteral("[&ART&]"),
                               QStringLiteral("$BPMVON$|$BPMBIS$|$TANZSTIL$|$ZÄHLERVON$|"
                                              "$ZAEHLERVON$|$ZAHLERVON$|$LZEIT$|%LIEDNR%"),
                               QStringLiteral("F"));
        QCOMPARE(carrierreport::printCarrier(d.printer, d.db, messages, o, 1),
                 ReportStatus::Composed);
        const auto lines = d.lines(1);
        QCOMPARE(lines.at(0).second, QStringLiteral("[           ]"));
        QCOMPARE(lines.at(1).second,
                 QStringLiteral("    0|    0|kein|    0|    0|    0|   0.00| 3"));
    }
};

QTEST_MAIN(TestCarrierReport)
#include "tst_carrierreport.moc"
