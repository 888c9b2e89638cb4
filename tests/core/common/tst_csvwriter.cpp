#include "core/common/csvwriter.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>

// Reads a CSV file with Python's csv module, as a spreadsheet import would: a reader written
// by others, so a fault shared by the program's writer and reader cannot hide. nullopt when
// Python did not run to its end.
static std::optional<QList<QStringList>> readWithPython(const QString& path) {
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv,json,sys\n"
                                 "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                 "    print(json.dumps(list(csv.reader(f, delimiter=';'))))\n"),
                  path});
    if (!python.waitForFinished() || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0) {
        qWarning() << "python3:" << python.errorString() << python.readAllStandardError();
        return std::nullopt;
    }
    QList<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList cells;
        for (const QJsonValue& cell : row.toArray())
            cells.append(cell.toString());
        rows.append(cells);
    }
    return rows;
}

class TestCsvWriter : public QObject {
    Q_OBJECT

private slots:
    void cellsReadBackAsShown_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("written"); // the field as it stands in the file
        QTest::newRow("plain") << "Abba"
                               << "Abba";
        QTest::newRow("semicolon") << "A;B"
                                   << "\"A;B\"";
        QTest::newRow("quote") << "Er sagt \"ja\""
                               << "\"Er sagt \"\"ja\"\"\"";
        QTest::newRow("line break") << "Zeile 1\r\nZeile 2"
                                    << "\"Zeile 1\r\nZeile 2\"";
        QTest::newRow("leading blank") << " vorn"
                                       << "\" vorn\"";
        QTest::newRow("trailing blank") << "hinten "
                                        << "\"hinten \"";
        QTest::newRow("umlauts") << "Größe Über ß €"
                                 << "Größe Über ß €";
        QTest::newRow("number as shown") << "1.234,56"
                                         << "1.234,56";
        QTest::newRow("empty") << ""
                               << "";
    }

    void cellsReadBackAsShown() {
        QFETCH(QString, cell);
        QFETCH(QString, written);
        QCOMPARE(csv::field(cell), written);

        // In a model between two other columns, which the view shows in reverse order.
        QStandardItemModel model(2, 3);
        model.setHorizontalHeaderLabels({"Erste", "Mitte; Titel", "Letzte"});
        for (int r = 0; r < 2; ++r) {
            model.setItem(r, 0, new QStandardItem(QStringLiteral("a%1").arg(r)));
            model.setItem(r, 1, new QStandardItem(cell));
            model.setItem(r, 2, new QStandardItem(QStringLiteral("c%1").arg(r)));
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("liste.csv"));
        const auto result = csv::exportModel(model, {2, 1, 0}, path);
        QVERIFY2(result.ok, qPrintable(result.error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBFLetzte;\"Mitte; Titel\";Erste\r\n"));
        QCOMPARE(bytes.count("\r\n"), 3 + 2 * qsizetype(cell.count(QStringLiteral("\r\n"))));
        const QList<QStringList> expected{
            {"Letzte", "Mitte; Titel", "Erste"}, {"c0", cell, "a0"}, {"c1", cell, "a1"}};
        const auto rows = readWithPython(path);
        QVERIFY(rows);
        QCOMPARE(*rows, expected);
    }

    void failureAndCancelLeaveNoFile() {
        QTemporaryDir dir;
        QStandardItemModel model(1000, 1);
        const QString missingFolder = dir.filePath(QStringLiteral("fehlt/liste.csv"));
        auto result = csv::exportModel(model, {}, missingFolder);
        QVERIFY(!result.ok);
        QVERIFY(result.error.startsWith(QStringLiteral("Die Datei")));
        const QString path = dir.filePath(QStringLiteral("liste.csv"));
        result = csv::exportModel(model, {}, path, [](qint64 done, qint64) { return done < 500; });
        QVERIFY(result.cancelled);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestCsvWriter)
#include "tst_csvwriter.moc"
