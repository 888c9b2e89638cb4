#include "core/common/csvwriter.h"
#include "core/db/csvreader.h"

#include <QBuffer>
#include <QTest>

// The reader against the program's own writer, row by row as files of any length are read.
class TestCsvReader : public QObject {
    Q_OBJECT

    static QList<QStringList> read(QByteArray bytes, char separator = ';') {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        CsvReader reader(&buffer, separator);
        QList<QStringList> rows;
        QStringList row;
        while (reader.next(row))
            rows.append(row);
        return rows;
    }

private slots:
    void writtenRowsReadBack_data() {
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("plain") << QStringList{"1", "Abba", "Gold"};
        QTest::newRow("separator and quotes") << QStringList{"A;B", "Er sagt \"ja\"", ""};
        QTest::newRow("line break") << QStringList{"Zeile 1\nZeile 2", "x"};
        QTest::newRow("outer blanks") << QStringList{" vorn", "hinten "};
        QTest::newRow("umlauts") << QStringList{"Größe", "Über ß €"};
        // A zero-width no-break space at a field's start is text, not a byte order mark.
        QTest::newRow("BOM character in a field") << QStringList{"1", QStringLiteral("\uFEFFCar")};
        // Longer than the reader's chunk: the field continues across reads.
        QTest::newRow("field across chunks") << QStringList{QString(70000, QLatin1Char('x')), "y"};
    }
    void writtenRowsReadBack() {
        QFETCH(QStringList, cells);
        const QByteArray bytes = csv::kByteOrderMark + csv::row({"Kopf"}) + csv::row(cells);
        QCOMPARE(read(bytes), QList<QStringList>({{"Kopf"}, cells}));
    }

    void otherProgramsFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<char>("separator");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("comma, LF, no BOM") << QByteArray("a,\"b,c\"\n\n\"7\"\", EP\",d\n") << ','
                                           << QList<QStringList>{{"a", "b,c"}, {"7\", EP", "d"}};
        QTest::newRow("CR LF inside quotes")
            << QByteArray("\"x\r\ny\";z\r\n") << ';' << QList<QStringList>{{"x\ny", "z"}};
        QTest::newRow("no final line end")
            << QByteArray("a;b") << ';' << QList<QStringList>{{"a", "b"}};
    }
    void otherProgramsFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(char, separator);
        QFETCH(QList<QStringList>, rows);
        QCOMPARE(read(bytes, separator), rows);
    }
};

QTEST_GUILESS_MAIN(TestCsvReader)
#include "tst_csvreader.moc"
