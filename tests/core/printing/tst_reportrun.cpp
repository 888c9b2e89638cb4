#include "core/db/database.h"
#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/printing/pageprinter.h"
#include "core/printing/pdfpagedevice.h"
#include "core/printing/printercheck.h"
#include "core/printing/reportrun.h"
#include "core/printing/reportsetup.h"
#include "core/settings/settings.h"
#include "support/processrun.h"
#include "support/scriptedmessageservice.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The shared report machinery: the engine's state at the start of every report, the
// widget-free PDF output, the checks of every print command and the template a report uses.
class TestReportRun : public QObject {
    Q_OBJECT

private:
    static QString describe(const TPagePrinter& p) {
        return QStringList{QString::number(p.MeasureUnit()),
                           QString::number(p.MarginTop()),
                           QString::number(p.MarginBottom()),
                           QString::number(p.MarginLeft()),
                           QString::number(p.MarginRight()),
                           p.Font().family(),
                           QString::number(p.Font().pointSizeF()),
                           QString::number(p.LineSpacing()),
                           QString::number(p.Alignment()),
                           QString::number(p.WordWrap()),
                           QString::number(p.TabSize()),
                           p.TokenSeparator(),
                           p.TableFormat(),
                           QString::number(p.TableGrid()),
                           QString::number(p.DefaultColWidth()),
                           p.Header(),
                           p.Footer(),
                           p.HeaderFormat(),
                           p.FooterFormat(),
                           QString::number(p.PageBorders()),
                           QString::number(p.PageBorderOffset()),
                           QString::number(int(p.Orientation())),
                           QString::number(p.LineHeight()),
                           QString::number(p.Copies())}
            .join(QLatin1Char('/'));
    }

private slots:
    // Whatever the report before changed, the next one starts as from a new preview window.
    void resetGivesThePreviewSetUp() {
        PdfPageDevice device;
        TPagePrinter fresh(&device);
        reportsetup::applyPreviewSetup(fresh);

        PdfPageDevice otherDevice;
        TPagePrinter used(&otherDevice);
        reportsetup::applyPreviewSetup(used);
        used.setMeasureUnit(muInches);
        used.setMarginRight(2);
        used.setTableGrid(true);
        used.setLineSpacing(lsDoubleSpace);
        used.setAlignment(taCenter);
        used.setTokenSeparator(QLatin1Char(';'));
        used.setDefaultColWidth(1);
        used.setTableFormat(QStringLiteral("<2;>1"));
        used.setHeader(QStringLiteral("Kopf"));
        used.setFooter(QStringLiteral("Fuß"));
        used.setPageBorders(pbTop | pbLeft);
        used.setCopies(4);
        used.setOrientation(PrinterDevice::Orientation::Landscape);
        QFont big(QStringLiteral("Arial"));
        big.setPointSize(20);
        used.setFont(big);
        QVERIFY(describe(used) != describe(fresh));

        reportsetup::resetForReport(used);
        QCOMPARE(describe(used), describe(fresh));
    }

    void composedPagesBecomeOnePdf() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("bericht.pdf"));
        ScriptedMessageService messages;
        Database db;
        Settings settings;
        QStringList seenArguments;
        QString seenFont;
        auto compose = [&](ReportContext& c) {
            seenArguments = c.arguments;
            seenFont = c.options.fontName;
            c.printer.StartDocument();
            for (int page = 1; page <= 3; ++page) {
                c.printer.WriteAlignedLine(QStringLiteral("Seite %1").arg(page));
                if (page < 3)
                    c.printer.NewPage();
            }
            return ReportStatus::Composed;
        };
        ReportOptions options;
        options.fontName = QStringLiteral("Arial");
        const ReportResult result = printReportToPdf(compose, db, settings, dir.path(), messages,
                                                     {QStringLiteral("x")}, options, pdf);
        QCOMPARE(int(result.status), int(ReportStatus::Composed));
        QCOMPARE(result.pages, 3);
        QCOMPARE(seenArguments, QStringList{QStringLiteral("x")});
        QCOMPARE(seenFont, QStringLiteral("Arial"));
        QVERIFY(messages.messages().isEmpty());
        QCOMPARE(pdfPages(pdf), 3);
    }

    void failuresLeaveNoFile_data() {
        QTest::addColumn<int>("kind");
        QTest::addRow("report refuses") << 0;
        QTest::addRow("report throws") << 1;
        QTest::addRow("no page") << 2;
        QTest::addRow("folder missing") << 3;
    }
    void failuresLeaveNoFile() {
        QFETCH(int, kind);
        QTemporaryDir dir;
        QString pdf = dir.filePath(QStringLiteral("bericht.pdf"));
        if (kind == 3)
            pdf = dir.filePath(QStringLiteral("fehlt/bericht.pdf"));
        ScriptedMessageService messages;
        Database db;
        Settings settings;
        auto compose = [kind](ReportContext& c) {
            if (kind == 0) {
                c.messages.error(QStringLiteral("Abgelehnt"));
                return ReportStatus::Failed;
            }
            if (kind == 1)
                throw std::runtime_error("kaputt");
            if (kind == 3) {
                c.printer.StartDocument();
                c.printer.WriteAlignedLine(QStringLiteral("Zeile"));
            }
            return ReportStatus::Composed;
        };
        const ReportResult result =
            printReportToPdf(compose, db, settings, dir.path(), messages, {}, {}, pdf);
        QCOMPARE(int(result.status), int(ReportStatus::Failed));
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(messages.messages().size(), 1);
        QCOMPARE(messages.messages().first().kind, MessageKind::Error);
    }

    void printerCheck() {
        ScriptedMessageService messages;
        QVERIFY(printercheck::printerDefined({printercheck::kPdfPrinter}, messages));
        QVERIFY(messages.messages().isEmpty());
        QVERIFY(!printercheck::printerDefined({}, messages));
        QCOMPARE(messages.messages().size(), 1);
        const Message& m = messages.messages().first();
        QCOMPARE(m.text, QStringLiteral("Es es kein Drucker definiert."));
        QCOMPARE(m.kind, MessageKind::Information);
        QCOMPARE(m.buttons, MessageButton::Ok | MessageButton::Help);
        QCOMPARE(m.helpContext, 15000);
    }

    // The printer is asked first; templates count only of the report's own type.
    void readyToPrint_data() {
        QTest::addColumn<bool>("printer");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<int>("help");
        QTest::newRow("printer, templates") << true << 2 << true << 0;
        QTest::newRow("printer, none of the type") << true << 3 << false << 777;
        QTest::newRow("no printer") << false << 2 << false << 15000;
        QTest::newRow("neither") << false << 3 << false << 15000;
    }
    void readyToPrint() {
        QFETCH(bool, printer);
        QFETCH(int, type);
        QFETCH(bool, ready);
        QFETCH(int, help);
        QTemporaryDir dir;
        Database db;
        openWithTemplate(db, dir, 2, QStringLiteral("Blatt"));
        ScriptedMessageService messages;
        const QStringList printers =
            printer ? QStringList{printercheck::kPdfPrinter} : QStringList();
        QCOMPARE(printercheck::readyToPrint(db, printers, messages, type,
                                            QStringLiteral("Keine Vorlagen"), 777),
                 ready);
        QCOMPARE(messages.messages().size(), ready ? 0 : 1);
        if (!ready) {
            QCOMPARE(messages.messages().first().helpContext, help);
            if (help == 777)
                QCOMPARE(messages.messages().first().kind, MessageKind::Error);
        }
    }

    // An empty choice takes the type's first by number; a name or number must exist.
    void reportTemplate_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("message");
        QTest::newRow("first of the type") << 2 << ""
                                           << "Blatt"
                                           << "";
        QTest::newRow("by name") << 2 << "Blatt"
                                 << "Blatt"
                                 << "";
        QTest::newRow("unknown name") << 2 << "Keins"
                                      << ""
                                      << "Die Druckvorlage \"Keins\" gibt es nicht.";
        QTest::newRow("none of the type") << 3 << ""
                                          << ""
                                          << "Keine Vorlagen";
    }
    void reportTemplate() {
        QFETCH(int, type);
        QFETCH(QString, choice);
        QFETCH(QString, chosen);
        QFETCH(QString, message);
        QTemporaryDir dir;
        Database db;
        openWithTemplate(db, dir, 2, QStringLiteral("Blatt"));
        ScriptedMessageService messages;
        Settings settings;
        PdfPageDevice device;
        TPagePrinter printer(&device);
        ReportContext context{db, settings, dir.path(), messages, printer, {}, {}};
        context.options.templateChoice = choice;
        const std::optional<PrintTemplateRecord> templ =
            ::reportTemplate(context, type, QStringLiteral("Keine Vorlagen"), 777);
        QCOMPARE(templ ? templ->bezeichnung : QString(), chosen);
        QCOMPARE(messages.messages().isEmpty(), message.isEmpty());
        if (!message.isEmpty())
            QCOMPARE(messages.messages().first().text, message);
    }

private:
    // A fresh data set whose only template is one of the given type.
    static void openWithTemplate(Database& db, const QTemporaryDir& dir, int type,
                                 const QString& name) {
        db.open(dir.filePath(QStringLiteral("t.db")), Database::OpenMode::CreateIfMissing);
        dataset::createSchema(db);
        db.exec(u"DELETE FROM \"MPRTTEXT\"");
        PrintTemplateRecord r;
        r.type = type;
        r.indexNummer = 1;
        r.bezeichnung = name;
        records::insert(db, r);
    }
};

QTEST_MAIN(TestReportRun)
#include "tst_reportrun.moc"
