#include "core/printing/medialistreport.h"
#include "reportfixture.h"
#include "support/scriptedmessageservice.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTest>
#include <functional>

using Compose = std::function<void(ReportData&)>;
Q_DECLARE_METATYPE(Compose)

// Every drawing operation of a few documents, compared with a recording made by the
// engine as it was before its measuring got faster: the same text must land on the same
// pages at the same pixels in the same fonts. DISKARIUM_RECORD_COMPOSITION=1 writes the
// recordings anew (only when the composed result is meant to change).
class TestPageComposition : public QObject {
    Q_OBJECT

    // The fonts the recordings were made with; other fonts give other widths.
    static QString fontFingerprint() {
        QString out;
        for (const char* family : {"Courier New", "Arial", "Times New Roman"}) {
            QFont f{QString::fromLatin1(family)};
            f.setPixelSize(42);
            out += QStringLiteral("%1=%2:%3 ")
                       .arg(QString::fromLatin1(family), QFontInfo(f).family())
                       .arg(QFontMetrics(f).horizontalAdvance(QStringLiteral("Wüste Äxte 1€")));
        }
        return out.trimmed();
    }

    static QString dump(const TPagePrinter& printer) {
        QString out = fontFingerprint() + QLatin1Char('\n');
        for (int page = 1; page <= printer.PageCount(); ++page) {
            const PagePicture& p = printer.PageImage(page);
            out += QStringLiteral("page %1 %2x%3\n")
                       .arg(page)
                       .arg(p.size().width())
                       .arg(p.size().height());
            for (const QFont& f : p.fonts())
                out += QStringLiteral("font %1\n").arg(f.toString());
            const std::vector<PagePicture::Text> texts = p.texts();
            for (const PagePicture::Item& item : p.items()) {
                if (item.kind == PagePicture::Item::Kind::Text) {
                    const PagePicture::Text& t = texts[size_t(item.index)];
                    out += QStringLiteral("T %1 %2 %3 [%4]\n")
                               .arg(t.topLeft.x())
                               .arg(t.topLeft.y())
                               .arg(t.font)
                               .arg(t.text);
                } else {
                    const PagePicture::Line& l = p.lines()[size_t(item.index)];
                    out += QStringLiteral("L %1 %2 %3 %4 %5\n")
                               .arg(l.line.x1())
                               .arg(l.line.y1())
                               .arg(l.line.x2())
                               .arg(l.line.y2())
                               .arg(l.penWidth);
                }
            }
        }
        return out;
    }

    // Every way of writing: tables with grid and wrapping cells, aligned and wrapped
    // lines, styled lines with their codes and tabs, running text; header, footer, borders.
    static void engineDocument(TPagePrinter& pp, const QString& family, int points) {
        pp.setMeasureUnit(muMillimeters);
        pp.setMarginTop(20);
        pp.setMarginBottom(18);
        pp.setMarginLeft(20);
        pp.setMarginRight(12);
        QFont font(family);
        font.setPointSize(points);
        pp.setFont(font);
        pp.setHeaderFormat(QStringLiteral("100|>70"));
        pp.setHeader(QStringLiteral("{$TITLE}|Seite {$PAGE}"));
        pp.setFooterFormat(QStringLiteral("^170"));
        pp.setFooter(QStringLiteral("– {$PAGE} –"));
        pp.setPageBorders(pbTop | pbBottom | pbLeft | pbRight);
        pp.setPageBorderOffset(3);
        pp.setTitle(QStringLiteral("Zusammensetzung"));
        pp.StartDocument();
        const TAlignment alignments[] = {taLeftJustify, taRightJustify, taCenter};
        for (int row = 1; row <= 90; ++row) {
            const QString n = QString::number(row);
            switch (row % 6) {
            case 0:
                pp.setTableFormat(QStringLiteral("60|40|^20|>30"));
                pp.setTableGrid(row % 12 == 0);
                pp.WriteColumns(QStringLiteral("Interpret Nummer %1 mit einem sehr langen "
                                               "Namen|Titel\nzweite Zeile %1|%2|%3,%4 €")
                                    .arg(n)
                                    .arg(row % 13)
                                    .arg(row * 7)
                                    .arg(row % 100, 2, 10, QLatin1Char('0')));
                break;
            case 1:
                pp.setAlignment(alignments[row % 3]);
                pp.setWordWrap(row % 5 != 0);
                pp.WriteAlignedLine(QStringLiteral("Absatz %1: Ein langer Text, der über "
                                                   "mehrere Zeilen umbrochen werden muss, "
                                                   "weil er breiter ist als die Seite, "
                                                   "Wörter wie Überlänge und ÄÖÜß enthält.")
                                        .arg(n));
                pp.setWordWrap(true);
                break;
            case 2:
                pp.setAlignment(alignments[(row / 2) % 3]);
                pp.WriteStyledLine(QStringLiteral("%F%Fett %1%N% normal\t%K%kursiv%U% und "
                                                  "unterstrichen%N% Ende %X% 100%")
                                       .arg(n));
                break;
            case 3:
                pp.setAlignment(taLeftJustify);
                pp.WriteStyledLine(QStringLiteral("%U%Zeile %1%N% ").arg(n).repeated(row % 9 + 1));
                break;
            case 4:
                pp.WriteText(QStringLiteral("Lauftext %1 ").arg(n));
                pp.WriteText(QStringLiteral("weiter bis an den Rand und darüber hinaus, ")
                                 .repeated(row % 4 + 1));
                pp.NewLine();
                break;
            default:
                pp.WriteStyledLine(QString());
                pp.WriteStyledLine(QStringLiteral("a\tb\tc %1|W|i|M|%F%WWW%N%").arg(n));
                break;
            }
        }
        pp.FinishDocument();
    }

    static void mediaList(ReportData& d) {
        d.lookup("MUSIKART", 1, QStringLiteral("LP"), QStringLiteral("Langspielplatte"));
        d.lookup("MUSIKART", 2, QStringLiteral("CD"), QStringLiteral("Compact Disc"));
        for (int n = 1; n <= 120; ++n)
            d.carrier(n, QStringLiteral("Interpret %1 Ä").arg(n),
                      QStringLiteral("Titel der Platte %1").arg(n), n % 2 + 1, n % 7);
        medialistreport::Options o;
        o.templ.type = 1;
        o.templ.indexNummer = 1;
        o.templ.seitenrand = 20;
        o.templ.kopfText = QStringLiteral("%F%Tonträgerliste%N%\n");
        o.templ.seitenText = QStringLiteral("$TEXT_1$ %K%$TEXT_2$%N% [$ART$]");
        o.templ.fussText = QStringLiteral("%U%Ende%N%");
        o.fontName = QStringLiteral("Arial");
        o.fontSize = 11;
        o.codes = {1, 2};
        ScriptedMessageService messages;
        QCOMPARE(medialistreport::print(d.printer, d.db, messages, o), ReportStatus::Composed);
    }

private slots:
    void sameAsRecorded_data() {
        QTest::addColumn<QString>("recording");
        QTest::addColumn<int>("resolution");
        QTest::addColumn<Compose>("compose");
        QTest::newRow("courier") << "engine_courier" << 300 << Compose([](ReportData& d) {
            engineDocument(d.printer, QStringLiteral("Courier New"), 10);
        });
        QTest::newRow("proportional") << "engine_arial" << 600 << Compose([](ReportData& d) {
            engineDocument(d.printer, QStringLiteral("Arial"), 11);
        });
        QTest::newRow("serif small") << "engine_times" << 100 << Compose([](ReportData& d) {
            engineDocument(d.printer, QStringLiteral("Times New Roman"), 14);
        });
        QTest::newRow("media list") << "medialist" << 300 << Compose(mediaList);
    }

    void sameAsRecorded() {
        QFETCH(QString, recording);
        QFETCH(int, resolution);
        QFETCH(Compose, compose);
        ReportData d;
        d.device = ReportTestPrinter(resolution, QSize(827, 1169) * resolution / 100);
        d.printer.setPrinter(&d.device);
        compose(d);
        const QString actual = dump(d.printer);
        const QString path =
            QStringLiteral(DISKARIUM_SOURCE_DIR "/data/composition_%1.txt").arg(recording);
        QFile file(path);
        if (qEnvironmentVariableIsSet("DISKARIUM_RECORD_COMPOSITION")) {
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(actual.toUtf8());
            QSKIP("recorded");
        }
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        const QStringList expected = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        const QStringList lines = actual.split(QLatin1Char('\n'));
        if (expected.front() != lines.front())
            QSKIP("the fonts of this machine differ from those of the recording");
        QVERIFY(lines.size() > 100);
        for (qsizetype i = 0; i < std::min(lines.size(), expected.size()); ++i)
            QCOMPARE(lines[i], expected[i]);
        QCOMPARE(lines.size(), expected.size());
    }
};

QTEST_MAIN(TestPageComposition)
#include "tst_pagecomposition.moc"
