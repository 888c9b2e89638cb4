#include "core/printing/columnformat.h"
#include "core/printing/pageprinter.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A printer of 100 pixels per inch, letter paper, no unprintable border, that records
// what a print job sends.
class FakePrinter : public PrinterDevice {
public:
    QString name() const override { return QStringLiteral("Testdrucker"); }
    int resolutionX() const override { return 100; }
    int resolutionY() const override { return 100; }
    QSize paperSizePixels() const override { return {850, 1100}; }
    QSize physicalOffsetPixels() const override { return offset; }
    Orientation orientation() const override { return m_orientation; }
    void setOrientation(Orientation o) override { m_orientation = o; }
    QString title() const override { return m_title; }
    void setTitle(const QString& t) override { m_title = t; }
    int copyCount() const override { return m_copies; }
    void setCopyCount(int c) override { m_copies = c; }
    bool beginJob() override {
        running = true;
        log.append(QStringLiteral("begin"));
        return true;
    }
    void drawPage(const PagePicture& page) override {
        log.append(page.plainText().section('\n', 0, 0));
    }
    void newPage() override { log.append(QStringLiteral("|")); }
    void endJob() override {
        running = false;
        log.append(QStringLiteral("end"));
    }
    void abortJob() override {
        running = false;
        log.append(QStringLiteral("abort"));
    }
    bool jobRunning() const override { return running; }

    QStringList log;
    bool running = false;
    QSize offset{0, 0};
    int m_copies = 3;

private:
    Orientation m_orientation = Orientation::Portrait;
    QString m_title;
};

class FakeProgress : public PrintProgress {
public:
    void start(const QString& caption, const QString& status, int steps, bool) override {
        opened = caption + '/' + status + '/' + QString::number(steps);
    }
    void step(const QString& label) override {
        labels.append(label);
        if (cancelAfter > 0 && labels.size() == cancelAfter)
            cancelled = true;
    }
    void finish() override { closed = true; }
    void processEvents() override {}
    bool cancelRequested() const override { return cancelled; }
    QString opened;
    QStringList labels;
    int cancelAfter = 0;
    bool cancelled = false, closed = false;
};

QFont fontOfHeight(int pixels) {
    QFont f(QStringLiteral("Courier New"));
    f.setPointSizeF(pixels * 72.0 / 100.0);
    return f;
}

} // namespace

class TestPagePrinter : public QObject {
    Q_OBJECT

    FakePrinter m_printer;
    std::unique_ptr<TPagePrinter> m_pp;

    // Text area of 100 px height and 600 px width at 100 dpi (inches).
    void smallArea() {
        m_pp->setMarginTop(1);
        m_pp->setMarginBottom(9);
        m_pp->setMarginLeft(1);
        m_pp->setMarginRight(1.5);
    }
    QStringList texts(int page = 1) const {
        QStringList t;
        for (const auto& text : m_pp->PageImage(page).texts())
            t.append(text.text);
        return t;
    }
    void composePages(int n) {
        m_pp->StartDocument();
        for (int i = 1; i <= n; ++i) {
            if (i > 1)
                m_pp->NewPage();
            m_pp->WriteText(QStringLiteral("P%1").arg(i));
        }
        m_pp->FinishDocument();
    }

private slots:
    void init() {
        m_printer = FakePrinter();
        m_pp = std::make_unique<TPagePrinter>(&m_printer);
    }

    void defaults() {
        TPagePrinter pp;
        QCOMPARE(pp.MeasureUnit(), muInches);
        QCOMPARE(pp.Font().family(), QStringLiteral("Courier New"));
        QCOMPARE(pp.Font().pointSize(), 10);
        QCOMPARE(pp.TabSize(), 8u);
        QCOMPARE(pp.TokenSeparator(), QLatin1Char('|'));
        QVERIFY(pp.WordWrap());
        QCOMPARE(pp.Copies(), 1u);
        QVERIFY(pp.Collate());
        QCOMPARE(pp.Title(), QStringLiteral("<Unknown>"));
        QCOMPARE(pp.Orientation(), PrinterDevice::Orientation::Portrait);
        QCOMPARE(pp.MarginTop(), 0.25);
    }

    void fallbackGeometry_data() {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QList<double>>("values"); // paper w, h, offsets, print area w, h
        QTest::newRow("millimetres")
            << int(muMillimeters) << QList<double>({210, 297, 6, 6, 198, 284});
        QTest::newRow("inches") << int(muInches) << QList<double>({8.5, 11, 0.25, 0.25, 8, 10.5});
    }
    void fallbackGeometry() {
        QFETCH(int, unit);
        QFETCH(QList<double>, values);
        TPagePrinter pp;
        pp.setMeasureUnit(TMeasureUnit(unit));
        QCOMPARE(QList<double>({pp.PaperWidth(), pp.PaperHeight(), pp.PhysicalOffsetX(),
                                pp.PhysicalOffsetY(), pp.PrintAreaWidth(), pp.PrintAreaHeight()}),
                 values);
        QCOMPARE(pp.toPixelsX(1), unit == muInches ? 300 : 12);
    }

    void unitsRoundHalfToEven() {
        QCOMPARE(m_pp->toPixelsX(0.125), 12); // 12.5 -> 12
        QCOMPARE(m_pp->toPixelsX(0.135), 14); // 13.5 -> 14
        QCOMPARE(m_pp->toUnitsY(250), 2.5);
    }

    void marginsClampAndRefuseWhilePrinting() {
        m_printer.offset = {25, 25};
        m_pp->setPrinter(&m_printer);
        m_pp->setMarginLeft(0.1);
        QCOMPARE(m_pp->MarginLeft(), 0.25);
        m_pp->setMarginTop(20);
        QCOMPARE(m_pp->MarginTop(), 10.75);
        m_pp->StartDocument();
        try {
            m_pp->setMarginBottom(1);
            QFAIL("no error");
        } catch (const EPagePrinter& e) {
            QCOMPARE(QString::fromLatin1(e.what()),
                     QStringLiteral("Unable to change bottom margin while printing"));
        }
        QVERIFY_THROWS_EXCEPTION(EPagePrinter,
                                 m_pp->setOrientation(PrinterDevice::Orientation::Landscape));
        QVERIFY_THROWS_EXCEPTION(EPagePrinter, m_pp->setFileName(QStringLiteral("x.txt")));
        m_pp->FinishDocument();
    }

    void lineHeights_data() {
        QTest::addColumn<int>("spacing");
        QTest::addColumn<int>("height");
        QTest::newRow("half") << int(lsHalfSpace) << 15;
        QTest::newRow("single") << int(lsSingleSpace) << 31;
        QTest::newRow("one and a half") << int(lsSingleAndAHalf) << 46;
        QTest::newRow("double") << int(lsDoubleSpace) << 62;
    }
    void lineHeights() {
        QFETCH(int, spacing);
        QFETCH(int, height);
        m_pp->setFont(fontOfHeight(31));
        m_pp->setLineSpacing(TLineSpacing(spacing));
        QCOMPARE(m_pp->LineHeight(), height);
    }

    void lineAdvanceThatLeavesNoRoomBreaksThePage() {
        smallArea();
        QCOMPARE(m_pp->PrintableHeight(), 100);
        m_pp->setFont(fontOfHeight(30));
        QCOMPARE(m_pp->LineHeight(), 30);
        m_pp->StartDocument();
        m_pp->setCursorY(40);
        m_pp->NewLine();
        QCOMPARE(m_pp->PageCount(), 2);
        QCOMPARE(m_pp->CursorY(), 0);
        m_pp->setCursorY(10);
        QCOMPARE(m_pp->NewLine(), 1); // 40 + 30 < 100: same page
        QCOMPARE(m_pp->CursorY(), 40);
        QCOMPARE(m_pp->PageCount(), 2);
        m_pp->FinishDocument();
    }

    void eventOrder() {
        QStringList events;
        m_pp->OnNewPage = [&](TPagePrinter& p) {
            events.append(QStringLiteral("page%1").arg(p.PageNumber()));
        };
        m_pp->OnNewLine = [&](TPagePrinter&) { events.append(QStringLiteral("line")); };
        m_pp->StartDocument();
        m_pp->NewLine();
        m_pp->NewPage();
        m_pp->FinishDocument();
        QCOMPARE(events, QStringList({"page1", "line", "line", "page2", "line"}));
    }

    void oneCharacterIsNeverWrapped() {
        m_pp->setMarginLeft(1);
        m_pp->setMarginRight(7.45); // 5 pixels wide
        m_pp->StartDocument();
        m_pp->WriteText(QStringLiteral("W"));
        m_pp->WriteAlignedLine(QStringLiteral("M"));
        m_pp->WriteText(QStringLiteral("ABC"));
        m_pp->FinishDocument();
        QCOMPARE(texts(), QStringList({"W", "M", "A", "B", "C"})); // one character per line
    }

    void wrappingKeepsWordsAndDropsTheBreakBlank() {
        m_pp->setMarginLeft(1);
        m_pp->setMarginRight(8.5 - 1 - 1.5); // 150 px
        m_pp->setFont(fontOfHeight(20));
        const int perLine = 150 / m_pp->textWidth(QStringLiteral("x"));
        QVERIFY(perLine >= 10);
        m_pp->StartDocument();
        m_pp->WriteAlignedLine(QStringLiteral("eins zwei drei vier fünf sechs sieben"));
        m_pp->FinishDocument();
        const QStringList lines = texts();
        QVERIFY(lines.size() > 1);
        for (const QString& l : lines) {
            QVERIFY2(!l.startsWith(' '), qPrintable(l));
            QVERIFY2(m_pp->textWidth(l.trimmed()) <= 150, qPrintable(l));
        }
        QCOMPARE(lines.join(QLatin1Char(' ')).simplified(),
                 QStringLiteral("eins zwei drei vier fünf sechs sieben"));
    }

    void noWordWrapCuts() {
        m_pp->setMarginLeft(1);
        m_pp->setMarginRight(8.5 - 1 - 1.5);
        m_pp->setWordWrap(false);
        m_pp->StartDocument();
        m_pp->WriteText(QString(100, 'x'));
        m_pp->FinishDocument();
        QCOMPARE(texts().size(), 1);
        QVERIFY(m_pp->textWidth(texts().first()) <= 150);
    }

    void tabsExpandToTabStops() {
        m_pp->setTabSize(4);
        m_pp->StartDocument();
        m_pp->WriteAlignedLine(QStringLiteral("a\tb\t\tc"));
        m_pp->FinishDocument();
        QCOMPARE(texts(), QStringList({"a   b       c"}));
    }

    void formats_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("normalised");
        QTest::addColumn<int>("columns");
        QTest::newRow("trailing separator") << "40|>25|"
                                            << "<40|>25|<0" << 3;
        QTest::newRow("lone alignment") << "^|>"
                                        << "^0|>0" << 2;
        QTest::newRow("not a number") << "<abc|>12,5"
                                      << "<0|>12,5" << 2;
        QTest::newRow("negative") << ">-30"
                                  << ">-30" << 1;
        QTest::newRow("empty") << ""
                               << "" << 1;
    }
    void formats() {
        QFETCH(QString, format);
        QFETCH(QString, normalised);
        QFETCH(int, columns);
        m_pp->setTableFormat(format);
        QCOMPARE(m_pp->TableFormat(), normalised);
        QCOMPARE(int(columnformat::parse(m_pp->TableFormat(), '|', 0).size()), columns);
    }

    void gridBoxesSkipNegativeWidths() {
        m_pp->setTableFormat(QStringLiteral("1|-1|1"));
        m_pp->setTableGrid(true);
        m_pp->StartDocument();
        m_pp->WriteColumns(QStringLiteral("a|b|c"));
        m_pp->FinishDocument();
        int vertical = 0, horizontal = 0;
        for (const auto& l : m_pp->PageImage(1).lines())
            (l.line.x1() == l.line.x2() ? vertical : horizontal)++;
        QCOMPARE(vertical, 4);   // left and right edge of the two boxed cells
        QCOMPARE(horizontal, 4); // top and bottom edge of each
    }

    void lineFeedInsideACell() {
        m_pp->setTableFormat(QStringLiteral("3|3"));
        m_pp->StartDocument();
        m_pp->WriteColumns(QStringLiteral("eins\nzwei|x"));
        m_pp->FinishDocument();
        const auto& t = m_pp->PageImage(1).texts();
        QCOMPARE(t.size(), size_t(3));
        QCOMPARE(t[0].text, QStringLiteral("eins"));
        QCOMPARE(t[1].text, QStringLiteral("x"));
        QCOMPARE(t[2].text, QStringLiteral("zwei"));
        QCOMPARE(t[0].topLeft.y(), t[1].topLeft.y());
        QCOMPARE(t[2].topLeft.y() - t[0].topLeft.y(), m_pp->LineHeight());
    }

    void cellAlignmentAndInset() {
        m_pp->setTableFormat(QStringLiteral("<2|>2|^2"));
        m_pp->StartDocument();
        m_pp->WriteColumns(QStringLiteral("a|b|c"));
        m_pp->FinishDocument();
        const auto& t = m_pp->PageImage(1).texts();
        const int left = m_pp->leftMarginPixels(), w = m_pp->textWidth(QStringLiteral("b")),
                  inset = 0; // 100 dpi: inset 0
        QCOMPARE(t[0].topLeft.x(), left + inset);
        QCOMPARE(t[1].topLeft.x(), left + 200 + 200 - w);
        QCOMPARE(t[2].topLeft.x(), left + 400 + (200 - m_pp->textWidth(QStringLiteral("c"))) / 2);
    }

    void headerAndFooterNeverBreakPages() {
        smallArea();
        m_pp->setFont(fontOfHeight(30));
        m_pp->setHeaderFormat(QStringLiteral("6"));
        m_pp->setFooterFormat(QStringLiteral("6"));
        m_pp->setHeader(QStringLiteral("Kopf {$PAGE}"));
        m_pp->setFooter(QStringLiteral("Fuß {$TITLE}"));
        m_pp->setTitle(QStringLiteral("Liste"));
        m_pp->StartDocument();
        QCOMPARE(m_pp->CursorY(), 0);
        QCOMPARE(m_pp->LineNumber(), 0);
        m_pp->NewPage();
        m_pp->FinishDocument();
        QCOMPARE(m_pp->PageCount(), 2);
        QCOMPARE(texts(2), QStringList({"Kopf 2", "Fuß Liste"}));
        // The header is centred in the band above the text area: (100 - 30) / 2 from the paper top.
        QCOMPARE(m_pp->PageImage(1).texts()[0].topLeft.y(), 35);
        // The footer in the band below it: 100 + 100 + (900 - 30) / 2.
        QCOMPARE(m_pp->PageImage(1).texts()[1].topLeft.y(), 100 + 100 + 435);
        // Cells are inset at 300 dpi and more only; here the header starts at the margin.
        QCOMPARE(m_pp->PageImage(1).texts()[0].topLeft.x(), 100);
    }

    void pageHandlerWritesAboveTheBody() {
        m_pp->OnNewPage = [](TPagePrinter& p) {
            p.WriteAlignedLine(QStringLiteral("Spaltentitel"));
        };
        m_pp->setHeader(QStringLiteral("Kopf"));
        m_pp->StartDocument();
        QCOMPARE(m_pp->CursorY(), m_pp->LineHeight());
        m_pp->FinishDocument();
    }

    void bordersAroundTheTextArea() {
        smallArea();
        m_pp->setPageBorders(pbTop | pbLeft);
        m_pp->setPageBorderOffset(0.1);
        m_pp->StartDocument();
        m_pp->FinishDocument();
        const auto& lines = m_pp->PageImage(1).lines();
        QCOMPARE(lines.size(), size_t(2));
        QCOMPARE(lines[0].line, QLine(100 - 10, 100 - 10, 100 + 600 + 10, 100 - 10));
        QCOMPARE(lines[1].line, QLine(100 - 10, 100 - 10, 100 - 10, 100 + 100 + 10));
    }

    void unitRoundTrip() {
        m_pp->setMeasureUnit(muMillimeters);
        m_pp->setMarginLeft(20);
        m_pp->setDefaultColWidth(12.7);
        m_pp->setTableFormat(QStringLiteral("25,4|>50,8|"));
        m_pp->setMeasureUnit(muInches);
        QCOMPARE(m_pp->TableFormat(), QStringLiteral("<1|>2|<0,5"));
        QVERIFY(qAbs(m_pp->MarginLeft() - 20 / 25.4) < 1e-9);
        m_pp->setMeasureUnit(muMillimeters);
        QVERIFY(qAbs(m_pp->MarginLeft() - 20) < 1e-9);
        QCOMPARE(m_pp->TableFormat(), QStringLiteral("<25,4|>50,8|<12,7"));
    }

    void friendlyHeaders_data() {
        QTest::addColumn<QString>("friendly");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("format");
        QTest::newRow("left at the start") << "&lLinks&rSeite &p"
                                           << "Links|Seite {$PAGE}"
                                           << "<3,00|>3,00";
        QTest::newRow("two codes in a row") << "&l&cMitte"
                                            << "|Mitte"
                                            << "<3,00|^3,00";
        QTest::newRow("text before codes") << "Titel: &i&rRechts"
                                           << "Titel: {$TITLE}|Rechts"
                                           << "<3,00|>3,00";
        QTest::newRow("no codes") << "Nur && Text &x"
                                  << "Nur & Text  "
                                  << "<6,00";
    }
    void friendlyHeaders() {
        QFETCH(QString, friendly);
        QFETCH(QString, header);
        QFETCH(QString, format);
        m_pp->setMarginLeft(1);
        m_pp->setMarginRight(1.5); // 8.5 - 2.5 = 6 inches shared by the columns
        m_pp->setFriendlyHeader(friendly);
        QCOMPARE(m_pp->Header(), header);
        QCOMPARE(m_pp->HeaderFormat(), format);
    }

    void styledLinesHoldBoldUntilReset() {
        m_pp->StartDocument();
        m_pp->WriteStyledLine(QStringLiteral("normal %F%fett%F%"));
        m_pp->WriteStyledLine(QStringLiteral("noch fett %N%wieder normal"));
        m_pp->WriteStyledLine(QStringLiteral("%K%schräg"));
        m_pp->NewPage();
        m_pp->WriteStyledLine(QStringLiteral("neue Seite"));
        m_pp->FinishDocument();
        auto bold = [&](int page, int index) {
            const auto& p = m_pp->PageImage(page);
            return p.fonts()[size_t(p.texts()[size_t(index)].font)].bold();
        };
        QCOMPARE(texts(),
                 QStringList({"normal ", "fett", "noch fett ", "wieder normal", "schräg"}));
        QVERIFY(!bold(1, 0));
        QVERIFY(bold(1, 1));
        QVERIFY(bold(1, 2));
        QVERIFY(!bold(1, 3));
        const auto& p1 = m_pp->PageImage(1);
        QVERIFY(p1.fonts()[size_t(p1.texts()[4].font)].italic());
        const auto& p2 = m_pp->PageImage(2);
        QVERIFY(!p2.fonts()[size_t(p2.texts()[0].font)].italic());
    }

    void pageNumberErrors() {
        composePages(3);
        QCOMPARE(m_pp->PageNumber(), 1);
        m_pp->setPageNumber(3);
        QCOMPARE(m_pp->PageNumber(), 3);
        for (int bad : {0, 4}) {
            try {
                m_pp->setPageNumber(bad);
                QFAIL("no error");
            } catch (const EPagePrinter& e) {
                QCOMPARE(QString::fromLatin1(e.what()),
                         QStringLiteral("PageNumber must be between 1 and 3"));
            }
        }
    }

    void printSequences_data() {
        QTest::addColumn<bool>("collate");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("collated") << true
                                  << QStringList(
                                         {"begin", "P1", "|", "P2", "|", "P1", "|", "P2", "end"});
        QTest::newRow("not collated")
            << false << QStringList({"begin", "P1", "|", "P1", "|", "P2", "|", "P2", "end"});
    }
    void printSequences() {
        QFETCH(bool, collate);
        QFETCH(QStringList, log);
        composePages(2);
        m_pp->setCopies(2);
        m_pp->setCollate(collate);
        QVERIFY(m_pp->PrintPages());
        QCOMPARE(m_printer.log, log);
        QCOMPARE(m_printer.copyCount(), 3); // the printer's own count is back
    }

    void rangeAndCopies() {
        composePages(5);
        m_pp->setCopies(0);
        QCOMPARE(m_pp->Copies(), 1u);
        m_pp->setFromPage(3);
        QCOMPARE(m_pp->ToPage(), 3u);
        FakeProgress progress;
        m_pp->setProgress(&progress);
        QVERIFY(m_pp->PrintPages());
        QCOMPARE(m_printer.log, QStringList({"begin", "P3", "end"}));
        QCOMPARE(progress.labels, QStringList({"Seite 3"}));
        m_pp->setFromPage(0);
        m_pp->setToPage(9);
        m_printer.log.clear();
        QVERIFY(m_pp->PrintPages());
        QCOMPARE(m_printer.log.count(QStringLiteral("|")), 4);
        m_pp->setToPage(2);
        QCOMPARE(m_pp->FromPage(), 0u);
    }

    void progressLabel() {
        composePages(12);
        m_pp->setCopies(2);
        m_pp->setTitle(QStringLiteral("Liste"));
        FakeProgress progress;
        m_pp->setProgress(&progress);
        QVERIFY(m_pp->PrintPages());
        QCOMPARE(progress.opened, QStringLiteral("Liste/Sende Seiten zum Drucker/24"));
        QCOMPARE(progress.labels[2], QStringLiteral("Seite 3 von 12 x 2 Kopien"));
        QVERIFY(progress.closed);
    }

    void cancelling_data() {
        QTest::addColumn<bool>("abortOnCancel");
        QTest::addColumn<QString>("ending");
        QTest::newRow("pages so far come out") << false << "end";
        QTest::newRow("job discarded") << true << "abort";
    }
    void cancelling() {
        QFETCH(bool, abortOnCancel);
        QFETCH(QString, ending);
        composePages(4);
        m_pp->setAbortOnCancel(abortOnCancel);
        FakeProgress progress;
        progress.cancelAfter = 2; // clicked while page 2 is sent
        m_pp->setProgress(&progress);
        QVERIFY(!m_pp->PrintPages());
        QCOMPARE(m_printer.log, QStringList({"begin", "P1", "|", "P2", "|", ending}));
        QVERIFY(progress.closed);
    }

    void emptyStorePrintsNothing() {
        QVERIFY(m_pp->PrintPages());
        QVERIFY(m_printer.log.isEmpty());
    }

    void plainTextMode() {
        QTemporaryDir dir;
        m_pp->setPrintToFile(true);
        m_pp->setFileName(QStringLiteral("  %1  ").arg(dir.filePath("out.txt")));
        m_pp->StartDocument();
        m_pp->WriteText(QStringLiteral("Hallo"));
        m_pp->NewLine();
        m_pp->NewPage();
        m_pp->WriteText(QStringLiteral("Welt"));
        m_pp->FinishDocument();
        QCOMPARE(m_pp->PageCount(), 0);
        QFile f(dir.filePath("out.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("Hallo\r\n\f\r\nWelt"));
    }
};

QTEST_MAIN(TestPagePrinter)
#include "tst_pageprinter.moc"
