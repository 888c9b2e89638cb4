#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "support/processrun.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// diskarium-tool lend / return / history and print reminder / lendings, end to end: exit
// codes, what the tables hold afterwards and the text of the PDF.
class TestLendingTool : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_data;

    ProcessRun data(const QStringList& args) {
        return runTool(QStringList{args[0], m_data} + args.mid(1));
    }

    qint64 count(const QString& where) {
        Database db;
        db.open(dataset::databasePath(m_data));
        return db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"MUSIKVER\" WHERE ") + where)
            .toLongLong();
    }

private slots:
    void initTestCase() {
        m_data = m_dir.filePath(QStringLiteral("daten"));
        dataset::create(m_data);
        Database db;
        db.open(dataset::databasePath(m_data));
        const char* groups[] = {"Abba", "Beatles"};
        for (int i = 0; i < 2; ++i) {
            CarrierRecord c;
            c.folgenummerKopf = i + 1;
            c.gruppeInterpretText1 = QString::fromUtf8(groups[i]);
            c.text2 = QStringLiteral("Gold");
            c.artDerSchallplatte = 1;
            c.nummerierung = 17 + i;
            c.musikrichtung = 1;
            c.status = 3;
            records::insert(db, c);
        }
        const char* names[] = {"Erika Muster", "Max", "Max"};
        for (int i = 0; i < 3; ++i) {
            BorrowerRecord b;
            b.folgenummer = i + 1;
            b.name1 = QString::fromUtf8(names[i]);
            b.ort = QStringLiteral("Bonn");
            records::insert(db, b);
        }
    }

    // Refusals in the system's words, nothing changed, exit 1; wrong calls exit 2.
    void refusals_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("return of a carrier not lent")
            << QStringList{"return", "LP:18"} << 1 << "wurde nicht verliehen";
        QTest::newRow("two borrowers of that name")
            << QStringList{"lend", "LP:18", "Max"} << 1 << "#2 Max\n#3 Max";
        QTest::newRow("unknown carrier") << QStringList{"lend", "LP:99", "#1"} << 1 << "LP:99";
        QTest::newRow("usage") << QStringList{"lend", "LP:18"} << 2 << "Aufruf";
        QTest::newRow("reminder for a carrier not lent")
            << QStringList{"print", "reminder", "LP:18", "--pdf", "x.pdf"} << 1 << "angemahnt";
    }
    void refusals() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const ProcessRun r = data(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QCOMPARE(count(QStringLiteral("1")), 0);
        QVERIFY(!QFile::exists(QStringLiteral("x.pdf")));
    }

    // Lend, print the list and a reminder, return, and the history of both states.
    void lendPrintReturn() {
        const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
        ProcessRun r = data({"lend", "LP:17", "Erika Muster"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(today), qPrintable(r.out));
        r = data({"lend", "LP:17", "#2"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains(QStringLiteral("bereits verliehen")));

        const QString list = m_dir.filePath(QStringLiteral("liste.pdf"));
        r = data({"print", "lendings", "--open", "--pdf", list});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QString text = pdfText(list);
        QVERIFY2(text.contains(QStringLiteral("Erika Muster")) && text.contains(today) &&
                     text.contains(QStringLiteral("Abba / Gold")),
                 qPrintable(text));
        const QString letter = m_dir.filePath(QStringLiteral("mahnung.pdf"));
        r = data({"print", "reminder", "LP:17", "--pdf", letter});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY(pdfText(letter).contains(QStringLiteral("Hallo Erika Muster")));
        r = data({"print", "lendings", "#1", "--returned", "--pdf", list + "2"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains(QStringLiteral("Es sind keine Daten vorhanden!")));
        QVERIFY(!QFile::exists(list + "2"));

        QCOMPARE(data({"return", "LP:17"}).exitCode, 0);
        QCOMPARE(count(QStringLiteral("\"Verleihstatus\" = 0")), 1);
        QCOMPARE(data({"lend", "LP:18", "#1"}).exitCode, 0);
        r = data({"history", "--borrower", "#1"});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("verliehen\t%1\t\t0\t#1 Erika Muster\tLP:18\t"
                                          "Beatles / Gold")
                               .arg(today));
        QVERIFY(lines[1].startsWith(QStringLiteral("zurück\t%1\t%1\t\t#1").arg(today)));
        QCOMPARE(data({"return", "LP:18"}).exitCode, 0);
    }
};

QTEST_GUILESS_MAIN(TestLendingTool)
#include "tst_lendingtool.moc"
