#include "core/common/germanformat.h"
#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookuplist.h"
#include "core/printing/pageprinter.h"
#include "core/printing/reportfixture.h"
#include "core/settings/settings.h"
#include "support/processrun.h"
#include "support/scriptedmessageservice.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// 196 mm wide at 0.1 mm a pixel: W = 196 - 20 - 6 = 170, so W / 4 is 42.5.
ReportTestPrinter narrowPrinter() {
    return ReportTestPrinter(254, {1960, 2970});
}

} // namespace

class TestLookupList : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;
    Settings m_settings;

    QString dataDirectory() const { return m_dir.filePath(QStringLiteral("daten")); }

    // The report as diskarium-tool prints it, as text.
    QString printed(const QString& table, int* pages = nullptr) {
        const QString pdf = m_dir.filePath(QStringLiteral("liste.pdf"));
        ScriptedMessageService messages;
        const ReportResult result = printReportToPdf(lookuplist::composeReport, m_db, m_settings,
                                                     dataDirectory(), messages, {table}, {}, pdf);
        if (result.status != ReportStatus::Composed)
            return {};
        if (pages)
            *pages = result.pages;
        return pdfText(pdf);
    }
    static QStringList rowsOf(const QString& text) {
        QStringList rows;
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            const QString t = line.simplified();
            if (!t.isEmpty() && !t.startsWith(QLatin1String("WinDsKm")))
                rows.append(t);
        }
        return rows;
    }

private slots:
    void initTestCase() {
        dataset::create(dataDirectory());
        m_db.open(dataset::databasePath(dataDirectory()));
    }

    void stateListInKeyOrder() {
        const QString text = printed(QStringLiteral("musiksta.db"));
        QVERIFY2(text.simplified().contains(QStringLiteral("WinDsKm - Statusarten per ") +
                                            germanformat::formatDate(QDate::currentDate())),
                 qPrintable(text.left(200)));
        QVERIFY(text.contains(QStringLiteral("Seite 1")));
        const QStringList rows = rowsOf(text);
        QVERIFY(rows.size() >= 2);
        QCOMPARE(rows[0], QStringLiteral("Verliehen Der Tonträger ist verliehen"));
        QCOMPARE(rows[1], QStringLiteral("Vorhanden Im Bestand"));
    }

    void videoListInKeyOrder() {
        m_db.exec(u"DELETE FROM \"VideoSprachen\"");
        m_db.exec(u"INSERT INTO \"VideoSprachen\" VALUES (1, 'Zulu', 'Zulu', 0), "
                  u"(2, 'Arabisch', 'Arabisch', 0)");
        QCOMPARE(rowsOf(printed(QStringLiteral("7"))),
                 (QStringList{QStringLiteral("Zulu Zulu"), QStringLiteral("Arabisch Arabisch")}));
    }

    void currencyFactorWithTwoDecimals() {
        m_db.exec(u"UPDATE \"Currency\" SET \"Factor\" = 0.5 WHERE \"Index\" = 3");
        const QString text = printed(QStringLiteral("Currency"));
        QVERIFY(text.contains(QStringLiteral("WinDsKm - Währungen")));
        const QStringList rows = rowsOf(text);
        QCOMPARE(rows[0], QStringLiteral("EUR Euro 1,00"));
        QCOMPARE(rows[1], QStringLiteral("DEM Deutsche Mark 1,96"));
        QCOMPARE(rows[2], QStringLiteral("ATS Österreichischer Schilling 0,50"));
    }

    void emptyTableGivesTheTitlePage() {
        m_db.exec(u"DELETE FROM \"MusikTanzStil\"");
        int pages = 0;
        const QString text = printed(QStringLiteral("MusikTanzStil"), &pages);
        QCOMPARE(pages, 1);
        QVERIFY(text.contains(QStringLiteral("WinDsKm - Tanzstile")));
        QVERIFY(rowsOf(text).isEmpty());
    }

    void unknownTableFails() {
        ScriptedMessageService messages;
        const ReportResult result = printReportToPdf(
            lookuplist::composeReport, m_db, m_settings, dataDirectory(), messages,
            {QStringLiteral("MUSIKKOP")}, {}, m_dir.filePath(QStringLiteral("nie.pdf")));
        QCOMPARE(result.status, ReportStatus::Failed);
        QCOMPARE(messages.messages().size(), 1);
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("nie.pdf"))));
    }

    void widthsRoundHalfToEven() {
        ReportTestPrinter device = narrowPrinter();
        TPagePrinter printer(&device);
        lookuplist::compose(printer, m_db, lookup::kStates, QStringLiteral("Arial"), 11);
        QCOMPARE(printer.PrintAreaWidth() - printer.MarginLeft() - printer.MarginRight(), 170.0);
        QCOMPARE(printer.TableFormat(), QStringLiteral("<42|<126")); // 42.5 gives 42
        QCOMPARE(printer.HeaderFormat(), QStringLiteral("<85|>85"));
        QCOMPARE(printer.HeaderFont().bold(), true);
        lookuplist::compose(printer, m_db, lookup::kCurrencies, QStringLiteral("Arial"), 11);
        QCOMPARE(printer.TableFormat(), QStringLiteral("<34|<102|<34"));
    }

    void callbackStopsTheList() {
        ReportTestPrinter device = narrowPrinter();
        TPagePrinter printer(&device);
        int rows = 0;
        const auto outcome = lookuplist::compose(printer, m_db, lookup::kStates,
                                                 QStringLiteral("Arial"), 11, [&rows](int page) {
                                                     ++rows;
                                                     return page == 1 && rows < 2;
                                                 });
        QCOMPARE(outcome, lookuplist::Outcome::Stopped);
        QCOMPARE(rows, 2);
        QVERIFY(!printer.Printing());
    }
};

QTEST_MAIN(TestLookupList)
#include "tst_lookuplist.moc"
