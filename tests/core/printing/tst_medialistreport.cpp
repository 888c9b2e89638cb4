#include "core/printing/medialistreport.h"
#include "reportfixture.h"
#include "support/scriptedmessageservice.h"

#include <QTest>

Q_DECLARE_METATYPE(std::vector<double>)

// The carrier list on a printer of known resolution: which carriers print, in which order,
// and where the pages break.
class TestMediaListReport : public QObject {
    Q_OBJECT

    static medialistreport::Options options(std::vector<double> codes, const QString& page,
                                            const QString& head = QStringLiteral("KOPF"),
                                            const QString& foot = QStringLiteral("FUSS")) {
        medialistreport::Options o;
        o.templ.type = 1;
        o.templ.indexNummer = 1;
        o.templ.seitenrand = 20;
        o.templ.kopfText = head;
        o.templ.seitenText = page;
        o.templ.fussText = foot;
        o.fontName = QStringLiteral("Courier New");
        o.fontSize = 12;
        o.codes = std::move(codes);
        return o;
    }

    static QStringList texts(const ReportData& d) {
        QStringList out;
        for (int page = 1; page <= d.printer.PageCount(); ++page)
            for (const auto& [y, text] : d.lines(page))
                out.append(text);
        return out;
    }

    // Media types 1 LP and 2 CD; carriers by number, text 1, type, numbering, purchase date.
    static void collection(ReportData& d) {
        d.lookup("MUSIKART", 1, QStringLiteral("LP"), QStringLiteral("Langspielplatte"));
        d.lookup("MUSIKART", 2, QStringLiteral("CD"), QStringLiteral("Compact Disc"));
        const struct {
            int number;
            const char* text1;
            int type, numbering;
            QDate bought;
        } rows[] = {{1, "Zappa", 1, 3, QDate(2000, 5, 2)},
                    {2, "abba", 2, 1, QDate(2000, 5, 1)},
                    {3, "Äffchen", 1, 2, QDate()},
                    {4, "Beatles", 0, 7, QDate(2001, 1, 1)}}; // a type without a row
        for (const auto& r : rows) {
            d.carrier(r.number, QString::fromUtf8(r.text1), QStringLiteral("T"), r.type,
                      r.numbering);
            if (r.bought.isValid())
                d.db.prepare(u"UPDATE \"MUSIKKOP\" SET \"Kaufdatum\" = ?1 "
                             u"WHERE \"Folgenummer Kopf\" = ?2")
                    .bind(1, r.bought)
                    .bind(2, r.number)
                    .run();
        }
    }

private slots:
    void selection_data() {
        QTest::addColumn<std::vector<double>>("codes");
        QTest::addColumn<int>("order");
        QTest::addColumn<QString>("boughtAfter");
        QTest::addColumn<QStringList>("printed");
        using V = std::vector<double>;
        QTest::newRow("alphabetical, German order")
            << V{0, 1, 2} << 0 << QString() << QStringList{"abba", "Äffchen", "Beatles", "Zappa"};
        QTest::newRow("by number: type, numbering")
            << V{0, 1, 2} << 1 << QString() << QStringList{"Beatles", "Äffchen", "Zappa", "abba"};
        QTest::newRow("one type") << V{1} << 0 << QString() << QStringList{"Äffchen", "Zappa"};
        QTest::newRow("bought after 01.05.2000; no date is not printed")
            << V{1, 2} << 0 << "2000-05-01" << QStringList{"Zappa"};
        QTest::newRow("bought after 30.04.2000")
            << V{1, 2} << 0 << "2000-04-30" << QStringList{"abba", "Zappa"};
    }
    void selection() {
        QFETCH(std::vector<double>, codes);
        QFETCH(int, order);
        QFETCH(QString, boughtAfter);
        QFETCH(QStringList, printed);
        ReportData d;
        collection(d);
        ScriptedMessageService messages;
        medialistreport::Options o = options(codes, QStringLiteral("$TEXT_1$ [$ART$]"));
        o.order = order;
        if (!boughtAfter.isEmpty())
            o.boughtAfter = QDate::fromString(boughtAfter, Qt::ISODate);
        QCOMPARE(medialistreport::print(d.printer, d.db, messages, o), ReportStatus::Composed);
        QStringList expected{QStringLiteral("KOPF")};
        for (const QString& name : printed)
            expected.append(name + (name == QLatin1String("Beatles") ? QStringLiteral(" []")
                                    : name == QLatin1String("abba")  ? QStringLiteral(" [CD]")
                                                                     : QStringLiteral(" [LP]")));
        expected.append(QStringLiteral("FUSS"));
        QCOMPARE(texts(d), expected);
        QCOMPARE(d.printer.Title(), QStringLiteral("WinDsKm - Tonträgerliste"));
    }

    // Before each carrier: head + foot + page lines must still fit, else foot, new page,
    // head. The last page holds carriers: no page with only head and foot.
    void pageBreaks() {
        ReportData d;
        d.lookup("MUSIKART", 1, QStringLiteral("LP"), QStringLiteral("Langspielplatte"));
        for (int i = 1; i <= 200; ++i)
            d.carrier(i, QStringLiteral("Gruppe %1").arg(i, 3, 10, QLatin1Char('0')),
                      QStringLiteral("T"), i <= 120 ? 1 : 2, i);
        ScriptedMessageService messages;
        const auto o = options({1}, QStringLiteral("$TEXT_1$\r\n  $TEXT_2$"),
                               QStringLiteral("KOPF\r\nK2"), QStringLiteral("FUSS $SYSSEITE$"));
        QCOMPARE(medialistreport::print(d.printer, d.db, messages, o), ReportStatus::Composed);
        const TPagePrinter& p = d.printer;
        QVERIFY(p.PageCount() >= 3);
        int carriers = 0;
        for (int page = 1; page <= p.PageCount(); ++page) {
            const auto lines = d.lines(page);
            QCOMPARE(lines.first().second, QStringLiteral("KOPF"));
            QCOMPARE(lines.last().second, QStringLiteral("FUSS %1").arg(page));
            int onPage = 0;
            for (const auto& [y, text] : lines) {
                if (text.startsWith(QLatin1String("Gruppe"))) {
                    ++onPage;
                    QVERIFY(y + 2 * p.LineHeight() < lines.last().first);
                }
            }
            QVERIFY(onPage > 0);
            carriers += onPage;
        }
        QCOMPARE(carriers, 120);
    }

    void abortPrintsNothing() {
        ReportData d;
        collection(d);
        ScriptedMessageService messages;
        int asked = 0;
        ReportProgress progress{{}, [&] { return ++asked > 3; }};
        QCOMPARE(medialistreport::print(d.printer, d.db, messages,
                                        options({0, 1, 2}, QStringLiteral("$TEXT_1$")), progress),
                 ReportStatus::Failed);
        QVERIFY(!d.printer.Printing());
    }

    void emptyPartStops() {
        ReportData d;
        collection(d);
        ScriptedMessageService messages;
        QCOMPARE(medialistreport::print(d.printer, d.db, messages, options({1}, QString())),
                 ReportStatus::Failed);
        QCOMPARE(messages.messages().first().helpContext, 5007);
        QCOMPARE(d.printer.PageCount(), 0);
    }

    void noSelectionMessages_data() {
        QTest::addColumn<int>("selection");
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("help");
        QTest::newRow("types") << 0 << "Tonträgerartenliste die zu druckenden Tonträgerarten"
                               << 34003;
        QTest::newRow("states") << 1 << "Statusartenliste die zu druckenden Statusarten" << 34011;
        QTest::newRow("directions")
            << 2 << "Liste der Musikrichtungen die zu druckenden Musikrichtungen" << 34012;
        QTest::newRow("stored 5 counts as 0")
            << 5 << "Tonträgerartenliste die zu druckenden Tonträgerarten" << 34003;
    }
    void noSelectionMessages() {
        QFETCH(int, selection);
        QFETCH(QString, list);
        QFETCH(int, help);
        QCOMPARE(medialistreport::noSelectionText(selection),
                 QStringLiteral("Es wurden keine Daten zur Druckausgabe gewählt. Bitte wählen Sie "
                                "aus der ") +
                     list + QStringLiteral(" aus."));
        QCOMPARE(medialistreport::noSelectionHelp(selection), help);
    }
};

QTEST_MAIN(TestMediaListReport)
#include "tst_medialistreport.moc"
