#include "core/printing/coverreport.h"
#include "reportfixture.h"
#include "support/scriptedmessageservice.h"

#include <QTest>

// The cover layout in device pixels of a 100 dpi printer: left edge, title lines, blank
// lines, columns and the grouping of songs.
class TestCoverReport : public QObject {
    Q_OBJECT

    static coverreport::Layout layout(int before, int after) {
        coverreport::Layout l;
        l.fontName = QStringLiteral("Courier New");
        l.fontSize = 10;
        l.linesBefore = before;
        l.linesAfter = after;
        return l;
    }

private slots:
    void layoutDefaults() {
        ReportData d;
        CoverLayoutRecord cover;
        cover.indexNummer = 2;
        cover.fontName = QStringLiteral("Times");
        cover.fontGroesse = 0; // would never end a page
        cover.leerzeilenVor = 20;
        cover.leerzeilenNach = 1;
        records::insert(d.db, cover);
        for (int type : {0, 1}) {
            const coverreport::Layout l = coverreport::layoutFor(d.db, type);
            QCOMPARE(l.fontName, QStringLiteral("Arial"));
            QCOMPARE(l.fontSize, 6);
            QCOMPARE(l.linesBefore, 4);
            QCOMPARE(l.linesAfter, 2);
        }
        const coverreport::Layout l = coverreport::layoutFor(d.db, 2);
        QCOMPARE(l.fontName, QStringLiteral("Times"));
        QCOMPARE(l.fontSize, 6);
        QCOMPARE(l.linesBefore, 15);
        QCOMPARE(l.linesAfter, 1);
    }

    void geometry() {
        ReportData d;
        d.carrier(1, QStringLiteral("Abba"), QStringLiteral("Gold"), 1, 17);
        d.song(1, 0, 1, QStringLiteral("Eins"), QString(), 3.05); // side 0: no side line
        d.song(1, 1, 2, QStringLiteral("Zwei"), QStringLiteral("Agnetha"), 0); // time 0
        d.song(1, 1, 3, QStringLiteral("Drei"), QStringLiteral("Agnetha"), 4.1);
        d.song(1, 2, 14, QStringLiteral("Vier"), QStringLiteral("Frida"), 12.5);
        ScriptedMessageService messages;
        QCOMPARE(coverreport::printCover(d.printer, d.db, messages, layout(2, 3), 1),
                 ReportStatus::Composed);
        const TPagePrinter& p = d.printer;
        QCOMPARE(p.PageCount(), 1);
        const int lh = p.LineHeight();
        const int left = p.leftMarginPixels();
        QCOMPARE(left, 79); // 20 mm at 100 dpi
        QCOMPARE(p.topMarginPixels(), 0);

        QStringList texts;
        QList<QPoint> at;
        for (const PagePicture::Text& t : p.PageImage(1).texts()) {
            texts << t.text;
            at << t.topLeft;
        }
        QCOMPARE(texts, (QStringList{"Abba",      "                 Nr.: 17",
                                     "Gold",      "Nr.:",
                                     "1",         "Eins",
                                     "3.05",      "Seite   1",
                                     "Nr.:",      "2",
                                     "Agnetha",   "Zwei",
                                     "Nr.:",      "3",
                                     "Drei",      "4.10",
                                     "Seite   2", "Nr.:",
                                     "14",        "Frida",
                                     "Vier",      "12.50"}));
        // Two blank lines before the title, three after it.
        QCOMPARE(at[0], QPoint(left, 2 * lh));
        QCOMPARE(at[2].y(), 3 * lh);
        QCOMPARE(at[3].y(), 7 * lh);
        // Columns: label at the left edge, the text column after label and number, all
        // rows aligned alike.
        const int inset = 100 / 300 * 6; // the engine's cell inset: none at 100 dpi
        QCOMPARE(at[3].x(), left + inset);
        QCOMPARE(at[5].x(), at[10].x());
        QCOMPARE(at[5].x(), at[14].x());
        QVERIFY(at[4].x() > at[3].x() + p.textWidth(QStringLiteral("Nr.:")));
        QVERIFY(at[5].x() > at[4].x());
        QCOMPARE(at[11].x(), at[10].x()); // title under the interpreter
        QCOMPARE(at[11].y(), at[10].y() + lh);
        // Numbers and times end at the right edge of their columns.
        QCOMPARE(at[4].x() + p.textWidth(QStringLiteral("1")),
                 at[18].x() + p.textWidth(QStringLiteral("14")));
        QCOMPARE(at[6].x() + p.textWidth(QStringLiteral("3.05")),
                 at[21].x() + p.textWidth(QStringLiteral("12.50")));
    }

    // Without "Nummerierung" the title line has no number; a tiny font still keeps "Nr.:"
    // and the numbers whole.
    void smallFont() {
        ReportData d;
        d.carrier(1, QStringLiteral("Abba"), QStringLiteral("Gold"));
        d.song(1, 0, 123, QStringLiteral("Eins"), QString(), 13.45);
        ScriptedMessageService messages;
        coverreport::Layout l = layout(0, 0);
        l.fontSize = 4;
        QCOMPARE(coverreport::printCover(d.printer, d.db, messages, l, 1), ReportStatus::Composed);
        QStringList texts;
        for (const PagePicture::Text& t : d.printer.PageImage(1).texts())
            texts << t.text;
        QCOMPARE(texts, (QStringList{"Abba", "Gold", "Nr.:", "123", "Eins", "13.45"}));
    }

    void carrierGone() {
        ReportData d;
        ScriptedMessageService messages;
        QCOMPARE(coverreport::printCover(d.printer, d.db, messages, layout(0, 0), 5),
                 ReportStatus::Failed);
        QCOMPARE(messages.messages().first().text,
                 QStringLiteral("Der Tonträger ist nicht mehr vorhanden."));
    }
};

QTEST_MAIN(TestCoverReport)
#include "tst_coverreport.moc"
