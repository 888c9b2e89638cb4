// Reminder letters and lending lists: their names, the page part of the letter and the
// lending list's pages.
#include "../printing/reportfixture.h"
#include "core/lending/lendinglistreport.h"
#include "core/lending/lendingnames.h"
#include "core/lending/reminderreport.h"
#include "support/scriptedmessageservice.h"

#include <QTest>

class TestLendingReports : public QObject {
    Q_OBJECT

    static void addLending(ReportData& d, int carrier, int state, int borrower, QDate lent,
                           QDate back = {}) {
        records::insert(d.db, LendingRecord{double(carrier), double(state), double(carrier),
                                            double(borrower), lent, back, 1.0});
    }
    static void addBorrower(ReportData& d, int number, const QString& name, const QString& town,
                            const QString& phone) {
        BorrowerRecord b;
        b.folgenummer = number;
        b.name1 = name;
        b.ort = town;
        b.telefon = phone;
        records::insert(d.db, b);
    }
    // Lookups every list row needs: media type 1, direction 0, states 1 and -1, state texts.
    static void addLookups(ReportData& d) {
        d.lookup("MUSIKART", 1, QStringLiteral("LP"), QStringLiteral("Langspielplatte"));
        d.lookup("MUSIKDIR", 0, QStringLiteral("-"), QStringLiteral("Keine"));
        d.lookup("MUSIKSTA", -1, QStringLiteral("Verl."), QStringLiteral("Verliehen"));
        d.lookup("MUSIKSTA", 0, QStringLiteral("-"), QStringLiteral("Kein Status"));
        records::insert(d.db,
                        CodeTextRecord{QStringLiteral("MUSIKVER"), 0, QStringLiteral("zur.")});
        records::insert(d.db,
                        CodeTextRecord{QStringLiteral("MUSIKVER"), 1, QStringLiteral("verl.")});
    }
    static PrintTemplateRecord templ(int type, const QString& head, const QString& page,
                                     const QString& foot) {
        PrintTemplateRecord t;
        t.type = type;
        t.indexNummer = 1;
        t.bezeichnung = QStringLiteral("T");
        t.seitenrand = 10;
        t.kopfText = head;
        t.seitenText = page;
        t.fussText = foot;
        return t;
    }

private slots:
    void names_data() {
        QTest::addColumn<QString>("part");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QStringList>("lines");
        const QString bonn = QStringLiteral("Bonn") + QString(47, QLatin1Char(' '));
        QTest::newRow("name and phone once")
            << "$NAME_1$\r\n$TEL$" << true << QStringList{"Erika", "0228 1"};
        QTest::newRow("town padded to 51") << "&ORT&|" << true << QStringList{bonn + "|"};
        QTest::newRow("return date empty while open") << "[$ZURUECK$]" << true << QStringList{"[]"};
        QTest::newRow("return date when returned")
            << "$ZURÜCK$ $ZURUCK$ $VERLIEHEN$" << false
            << QStringList{"02.02.2020 02.02.2020 01.01.2020"};
        QTest::newRow("empty second name") << "[$NAME_2$]" << true << QStringList{"[]"};
        QTest::newRow("carrier names up to PREIS") << "$TEXT_1$ $ART$ $PREIS$ $PRESSUNG$" << true
                                                   << QStringList{"Abba LP   12.50 PRESSUNG"};
        QTest::newRow("long media type padded to 51")
            << "&ARTL&|" << true
            << QStringList{QStringLiteral("Langspielplatte") + QString(36, QLatin1Char(' ')) + "|"};
    }
    void names() {
        QFETCH(QString, part);
        QFETCH(bool, open);
        QFETCH(QStringList, lines);
        ReportData d;
        addLookups(d);
        const ReportLookups lookups = ReportLookups::read(d.db);
        CarrierRecord carrier;
        carrier.gruppeInterpretText1 = QStringLiteral("Abba");
        carrier.artDerSchallplatte = 1;
        carrier.kaufpreis = 12.5;
        BorrowerRecord borrower;
        borrower.name1 = QStringLiteral("Erika");
        borrower.ort = QStringLiteral("Bonn");
        borrower.telefon = QStringLiteral("0228 1");
        LendingRecord lending{
            1, open ? 1.0 : 0.0, 1, 1, QDate(2020, 1, 1), open ? QDate() : QDate(2020, 2, 2), 1.0};
        LendingNames names(lookups);
        names.set(&lending, &borrower, &carrier);
        TemplateInterpreter interpreter;
        QStringList got;
        interpreter.writeLine = [&got](const QString& line) { got << line; };
        interpreter.setNames({&names});
        interpreter.run(part);
        QCOMPARE(got, lines);
    }

    // The letter's page part, once; an empty one is refused with its own message.
    void reminder() {
        ReportData d;
        addLookups(d);
        d.carrier(7, QStringLiteral("Abba"), QStringLiteral("Gold"));
        addBorrower(d, 1, QStringLiteral("Erika"), QStringLiteral("Bonn"), QStringLiteral("1"));
        addLending(d, 7, 1, 1, QDate(2020, 1, 1));
        ScriptedMessageService messages;
        reminderreport::Options o;
        o.templ = templ(3, QString(), QString(), QString());
        QCOMPARE(reminderreport::print(d.printer, d.db, messages, o, 7, 7), ReportStatus::Failed);
        QCOMPARE(messages.messages().size(), 1);
        QCOMPARE(messages.messages()[0].helpContext, 36011);
        QCOMPARE(d.printer.PageCount(), 0);

        o.templ = templ(3, QString(), QStringLiteral("Hallo $NAME_1$\r\n$TEXT_1$ $VERLIEHEN$"),
                        QString());
        const ReportStatus status = reminderreport::print(d.printer, d.db, messages, o, 7, 7);
        QVERIFY2(status == ReportStatus::Composed, qPrintable(messages.messages().last().text));
        QCOMPARE(d.printer.PageCount(), 1);
        QStringList texts;
        for (const auto& line : d.lines(1))
            texts << line.second;
        QCOMPARE(texts, (QStringList{"Hallo Erika", "Abba 01.01.2020"}));
        // Another carrier's lending with the same number is not this one.
        QCOMPARE(reminderreport::print(d.printer, d.db, messages, o, 8, 7), ReportStatus::Failed);
    }

    // A 5-line page part with a 2-line foot: before each row and after each of its lines a
    // new page starts exactly when the block and the foot (and the line the engine needs to
    // end the foot) no longer fit; head and foot name the row about to be printed, the final
    // foot the last row.
    void listPages() {
        ReportData d;
        addLookups(d);
        addBorrower(d, 1, QStringLiteral("Erika"), QStringLiteral("Bonn"), QStringLiteral("1"));
        for (int i = 1; i <= 40; ++i) {
            d.carrier(i, QStringLiteral("G%1").arg(i, 2, 10, QLatin1Char('0')),
                      QStringLiteral("T"));
            d.db.exec(QStringLiteral("UPDATE \"MUSIKKOP\" SET \"Musikrichtung\" = 0, \"Status\" "
                                     "= %1 WHERE \"Folgenummer Kopf\" = %2")
                          .arg(i % 3 ? 0 : -1)
                          .arg(i));
            addLending(d, i, i % 3 ? 0 : 1, 1, QDate(2020, 1, 1));
        }
        ScriptedMessageService messages;
        lendinglistreport::Options o;
        o.templ = templ(4, QStringLiteral("K $TEXT_1$"),
                        QStringLiteral("R $TEXT_1$\r\nz2\r\nz3\r\nz4\r\nz5"),
                        QStringLiteral("F $TEXT_1$\r\nF2"));
        QCOMPARE(lendinglistreport::print(d.printer, d.db, messages, o, 1), ReportStatus::Composed);
        const TPagePrinter& p = d.printer;
        QVERIFY(p.PageCount() >= 3);
        const int lh = p.LineHeight();
        const int top = p.topMarginPixels();
        const int mb = int(p.MarginBottom());
        auto fits = [&](int y) { return p.PrintableHeight() >= y - top + (5 + 2 + 1) * lh + mb; };
        QStringList body;
        QString lastRow;
        for (int page = 1; page <= p.PageCount(); ++page) {
            const auto lines = d.lines(page);
            QVERIFY(lines.first().second.startsWith(QStringLiteral("K ")));
            const QString foot = lines.at(lines.size() - 2).second;
            const auto bodyEnd = lines.end() - 2;
            for (auto it = lines.begin() + 1; it != bodyEnd; ++it) {
                body << (it->second.startsWith(QStringLiteral("R ")) ? QStringLiteral("R")
                                                                     : it->second);
                if (it->second.startsWith(QStringLiteral("R "))) {
                    lastRow = it->second.mid(2);
                    QVERIFY(fits(it->first)); // the test before the row
                }
                if (it + 1 != bodyEnd) // the test after the line
                    QVERIFY2(fits(it->first + lh), qPrintable(it->second));
            }
            if (page < p.PageCount()) {
                QVERIFY(!fits((bodyEnd - 1)->first + lh)); // the break was needed
                // Head and foot name the row printed next, also within a block.
                const auto next = d.lines(page + 1);
                const QString nextRow = next.at(1).second.startsWith(QStringLiteral("R "))
                                            ? next.at(1).second.mid(2)
                                            : lastRow;
                QCOMPARE(foot.mid(2), nextRow);
                QCOMPARE(next.first().second.mid(2), nextRow);
            } else {
                QCOMPARE(foot, QStringLiteral("F G40")); // the last row: open ones came first
            }
        }
        QStringList expected;
        for (int i = 0; i < 40; ++i)
            expected << QStringLiteral("R") << QStringLiteral("z2") << QStringLiteral("z3")
                     << QStringLiteral("z4") << QStringLiteral("z5");
        QCOMPARE(body, expected);
    }

    // A carrier without state, or with codes that have no lookup row, is printed with those
    // names empty, in the list's order.
    void missingLookupsPrintEmpty() {
        ReportData d;
        addLookups(d);
        addBorrower(d, 1, QStringLiteral("Erika"), QStringLiteral("Bonn"), QStringLiteral("1"));
        d.carrier(1, QStringLiteral("A"), QStringLiteral("T"));
        d.carrier(2, QStringLiteral("B"), QStringLiteral("T"), 5); // no media type 5
        d.db.exec(u"UPDATE \"MUSIKKOP\" SET \"Musikrichtung\" = 0, \"Status\" = 0");
        d.db.exec(u"UPDATE \"MUSIKKOP\" SET \"Status\" = NULL WHERE \"Folgenummer Kopf\" = 1");
        d.db.exec(u"UPDATE \"MUSIKKOP\" SET \"Musikrichtung\" = 9 WHERE \"Folgenummer Kopf\" = 2");
        addLending(d, 2, 0, 1, QDate(2020, 1, 1), QDate(2020, 2, 1));
        addLending(d, 1, 0, 1, QDate(2020, 1, 1), QDate(2020, 2, 1));
        ScriptedMessageService messages;
        lendinglistreport::Options o;
        o.templ =
            templ(4, QStringLiteral("K"), QStringLiteral("R $TEXT_1$/$ART$/$RICHTUNG$/$STATUS$"),
                  QStringLiteral("F"));
        QCOMPARE(lendinglistreport::print(d.printer, d.db, messages, o, -1),
                 ReportStatus::Composed);
        QStringList rows;
        for (const auto& [y, text] : d.lines(1))
            if (text.startsWith(QStringLiteral("R ")))
                rows << text;
        QCOMPARE(rows, (QStringList{"R A/LP/-/-", "R B///-"}));
    }

    // A head that fills more than a page ends instead of starting pages without end.
    void oversizedTemplateEnds() {
        ReportData d;
        addLookups(d);
        addBorrower(d, 1, QStringLiteral("Erika"), QStringLiteral("Bonn"), QStringLiteral("1"));
        for (int i = 1; i <= 3; ++i) {
            d.carrier(i, QStringLiteral("G%1").arg(i), QStringLiteral("T"));
            d.db.exec(u"UPDATE \"MUSIKKOP\" SET \"Musikrichtung\" = 0, \"Status\" = 0");
            addLending(d, i, 0, 1, QDate(2020, 1, 1), QDate(2020, 2, 1));
        }
        QStringList head;
        for (int i = 0; i < 200; ++i)
            head << QStringLiteral("K%1").arg(i);
        ScriptedMessageService messages;
        lendinglistreport::Options o;
        o.templ = templ(4, head.join(QStringLiteral("\r\n")), QStringLiteral("R $TEXT_1$"),
                        QStringLiteral("F"));
        QCOMPARE(lendinglistreport::print(d.printer, d.db, messages, o, -1),
                 ReportStatus::Composed);
        QVERIFY(d.printer.PageCount() < 20);
    }

    // An abort while composing finishes the document and reports failure, for both reports.
    void abortComposesNothing_data() {
        QTest::addColumn<bool>("list");
        QTest::newRow("lending list") << true;
        QTest::newRow("reminder") << false;
    }
    void abortComposesNothing() {
        QFETCH(bool, list);
        ReportData d;
        addLookups(d);
        addBorrower(d, 1, QStringLiteral("Erika"), QStringLiteral("Bonn"), QStringLiteral("1"));
        d.carrier(1, QStringLiteral("A"), QStringLiteral("T"));
        d.db.exec(u"UPDATE \"MUSIKKOP\" SET \"Musikrichtung\" = 0, \"Status\" = -1");
        addLending(d, 1, 1, 1, QDate(2020, 1, 1));
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines << QStringLiteral("Zeile %1 $NAME_1$").arg(i);
        const QString text = lines.join(QStringLiteral("\r\n"));
        int calls = 0;
        ReportProgress progress{{}, [&calls] { return ++calls > 500; }};
        ScriptedMessageService messages;
        ReportStatus status;
        if (list) {
            lendinglistreport::Options o;
            o.templ = templ(4, QStringLiteral("K"), text, QStringLiteral("F"));
            status = lendinglistreport::print(d.printer, d.db, messages, o, 1, progress);
        } else {
            reminderreport::Options o;
            o.templ = templ(3, QString(), text, QString());
            status = reminderreport::print(d.printer, d.db, messages, o, 1, 1, progress);
        }
        QCOMPARE(status, ReportStatus::Failed);
        QVERIFY(!d.printer.Printing());
        QVERIFY(messages.messages().isEmpty());
    }

    // The checks before the list and the overview, with the window's messages.
    void checks() {
        ReportData d;
        addLookups(d);
        addBorrower(d, 1, QStringLiteral("Erika"), QStringLiteral("Bonn"), QStringLiteral("1"));
        addBorrower(d, 2, QStringLiteral("Max"), QStringLiteral("Bonn"), QStringLiteral("1"));
        ScriptedMessageService messages;
        QVERIFY(!lendinglistreport::checkList(d.db, messages, -1));
        QCOMPARE(messages.messages().last().helpContext, 36003);
        d.carrier(1, QStringLiteral("A"), QStringLiteral("T"));
        addLending(d, 1, 0, 1, QDate(2020, 1, 1), QDate(2020, 2, 1));
        QVERIFY(!lendinglistreport::checkList(d.db, messages, 1)); // no lending template
        QCOMPARE(messages.messages().last().helpContext, 5010);
        records::insert(d.db, templ(4, "K", "S", "F"));
        QVERIFY(lendinglistreport::checkList(d.db, messages, 1)); // only returned: accepted
        QVERIFY(!lendinglistreport::checkList(d.db, messages, 2));
        QVERIFY(lendinglistreport::checkOverview(d.db, messages, 1));
        QVERIFY(!lendinglistreport::checkOverview(d.db, messages, 2));
        QCOMPARE(messages.messages().last().text, QStringLiteral("Es sind keine Daten vorhanden!"));
    }
};

QTEST_MAIN(TestLendingReports)
#include "tst_lendingreports.moc"
