#include "core/printing/textwidthcache.h"

#include <QFontMetrics>
#include <QTest>

// Widths are QFontMetrics' own; the bound without shaping is never below them.
class TestTextWidthCache : public QObject {
    Q_OBJECT

private slots:
    void widthsAndBounds_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("bounded");
        const QString ligatures = QStringLiteral("Office affine flink Thema ffi ffl fi fl ");
        QTest::newRow("mono ligatures") << "Courier New" << 42 << false << ligatures << true;
        QTest::newRow("sans ligatures") << "Arial" << 92 << false << ligatures.repeated(4) << true;
        QTest::newRow("serif bold umlauts")
            << "Times New Roman" << 13 << true << "Äußerst „übel“ – 12,50 € … ÖÜ" << true;
        QTest::newRow("one narrow letter") << "Arial" << 9 << false << "i" << true;
        QTest::newRow("blanks") << "Arial" << 42 << false << "          " << true;
        QTest::newRow("tab") << "Arial" << 42 << false << "a\tb" << false;
        QTest::newRow("soft hyphen") << "Arial" << 42 << false << "Ab\u00adc" << false;
        QTest::newRow("combining mark") << "Arial" << 42 << false << "e\u0301" << false;
        QTest::newRow("greek") << "Arial" << 42 << false << "αβγ" << false;
    }

    void widthsAndBounds() {
        QFETCH(QString, family);
        QFETCH(int, pixels);
        QFETCH(bool, bold);
        QFETCH(QString, text);
        QFETCH(bool, bounded);
        QFont font(family);
        font.setPixelSize(pixels);
        font.setBold(bold);
        font.setKerning(false);
        TextWidthCache cache;
        const int exact = QFontMetrics(font).horizontalAdvance(text);
        QCOMPARE(cache.width(font, text), exact);
        QCOMPARE(cache.width(font, text), exact); // from the table
        const int bound = cache.upperBound(font, text);
        if (!bounded) {
            QCOMPARE(bound, -1);
            return;
        }
        QVERIFY2(bound >= exact, qPrintable(QStringLiteral("%1 < %2").arg(bound).arg(exact)));
        QVERIFY(bound <= exact + exact / 10 + 4 * pixels); // still useful
        const TextWidthCache::Bounds both = cache.bounds(font, text);
        QCOMPARE(both.upper, bound);
        QVERIFY2(both.lower <= exact,
                 qPrintable(QStringLiteral("%1 > %2").arg(both.lower).arg(exact)));
    }

    // Fonts equal but for a style keep widths apart.
    void stylesMeasureApart() {
        QFont plain(QStringLiteral("Arial"));
        plain.setPixelSize(42);
        QFont bold = plain;
        bold.setBold(true);
        const QString text = QStringLiteral("Breite Wörter");
        TextWidthCache cache;
        QCOMPARE(cache.width(plain, text), QFontMetrics(plain).horizontalAdvance(text));
        QCOMPARE(cache.width(bold, text), QFontMetrics(bold).horizontalAdvance(text));
        QVERIFY(cache.width(bold, text) != cache.width(plain, text));
    }
};

QTEST_MAIN(TestTextWidthCache)
#include "tst_textwidthcache.moc"
