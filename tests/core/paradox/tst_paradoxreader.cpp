#include "core/paradox/blobfile.h"
#include "core/paradox/fieldvalue.h"
#include "core/paradox/paradoxtable.h"
#include "support/paradoxwriter.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using paradoxwriter::Column;
using paradoxwriter::TableLayout;

class TestParadoxReader : public QObject {
    Q_OBJECT

    // Reads every value of the first field of a table file.
    static QVariantList readColumn(const QString& dir, QString* error) {
        QFile file(dir + QStringLiteral("/T.DB"));
        QFile memo(dir + QStringLiteral("/T.MB"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        paradox::Table table;
        if (!table.open(&file, error))
            return {};
        paradox::BlobFile blobs(memo.open(QIODevice::ReadOnly) ? &memo : nullptr);
        QVariantList values;
        while (const char* record = table.next(error)) {
            auto v = paradox::fieldValue(table.fields()[0], record, table.codePage(), blobs, error);
            if (!v)
                return values;
            values.append(*v);
        }
        return values;
    }

private slots:
    void everyTypeFullAndEmpty_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("expected");

        const QString umlauts = QStringLiteral("Größe Überläufer ÄÖÜ äöü ß");
        const QString longMemo = QString(umlauts + QLatin1Char('\n')).repeated(2600); // > 64 KB
        QByteArray picture(5000, '\0');
        for (int i = 0; i < picture.size(); ++i)
            picture[i] = char(i * 7);
        const QByteArray icon("\x89PNG\r\n\x1a\n small");
        const QDateTime moment(QDate(2004, 12, 29), QTime(23, 9, 10));

        QTest::newRow("alpha 1252 with euro")
            << 0x01 << 40 << 1252 << QVariant(umlauts + QStringLiteral(" 5 €"))
            << QVariant(umlauts + QStringLiteral(" 5 €"));
        QTest::newRow("alpha 850") << 0x01 << 40 << 850 << QVariant(umlauts) << QVariant(umlauts);
        QTest::newRow("alpha 437") << 0x01 << 40 << 437 << QVariant(umlauts) << QVariant(umlauts);
        QTest::newRow("date") << 0x02 << 4 << 1252 << QVariant(QDate(2004, 12, 29))
                              << QVariant(QDate(2004, 12, 29));
        QTest::newRow("date of year 1")
            << 0x02 << 4 << 1252 << QVariant(QDate(1, 1, 1)) << QVariant(QDate(1, 1, 1));
        QTest::newRow("short negative")
            << 0x03 << 2 << 1252 << QVariant(-5) << QVariant(qint64(-5));
        QTest::newRow("short zero") << 0x03 << 2 << 1252 << QVariant(0) << QVariant(qint64(0));
        QTest::newRow("long") << 0x04 << 4 << 1252 << QVariant(123456) << QVariant(qint64(123456));
        QTest::newRow("autoincrement") << 0x16 << 4 << 1252 << QVariant(7) << QVariant(qint64(7));
        QTest::newRow("money negative")
            << 0x05 << 8 << 1252 << QVariant(-1234.56) << QVariant(-1234.56);
        QTest::newRow("number laufzeit") << 0x06 << 8 << 1252 << QVariant(3.45) << QVariant(3.45);
        QTest::newRow("number zero is not empty")
            << 0x06 << 8 << 1252 << QVariant(0.0) << QVariant(0.0);
        QTest::newRow("logical true") << 0x09 << 1 << 1252 << QVariant(true) << QVariant(true);
        QTest::newRow("logical false") << 0x09 << 1 << 1252 << QVariant(false) << QVariant(false);
        QTest::newRow("time") << 0x14 << 4 << 1252 << QVariant(QTime(13, 45, 10))
                              << QVariant(QTime(13, 45, 10));
        QTest::newRow("timestamp") << 0x15 << 8 << 1252 << QVariant(moment) << QVariant(moment);
        QTest::newRow("memo in the record")
            << 0x0C << 110 << 1252 << QVariant(QStringLiteral("kurz €"))
            << QVariant(QStringLiteral("kurz €"));
        QTest::newRow("memo over 64 KB")
            << 0x0C << 110 << 1252 << QVariant(longMemo) << QVariant(longMemo);
        QTest::newRow("memo 850") << 0x0C << 20 << 850 << QVariant(umlauts.repeated(3))
                                  << QVariant(umlauts.repeated(3));
        QTest::newRow("formatted memo")
            << 0x0E << 20 << 1252 << QVariant(umlauts.repeated(2)) << QVariant(umlauts.repeated(2));
        QTest::newRow("graphic") << 0x10 << 10 << 1252 << QVariant(picture) << QVariant(picture);
        QTest::newRow("small graphic") << 0x10 << 10 << 1252 << QVariant(icon) << QVariant(icon);
        QTest::newRow("binary blob")
            << 0x0D << 10 << 1252 << QVariant(picture) << QVariant(picture);
        QTest::newRow("bytes") << 0x18 << 4 << 1252 << QVariant(QByteArray("\x01\x00\x02\x03", 4))
                               << QVariant(QByteArray("\x01\x00\x02\x03", 4));
    }

    void everyTypeFullAndEmpty() {
        QFETCH(int, type);
        QFETCH(int, size);
        QFETCH(int, codePage);
        QFETCH(QVariant, value);
        QFETCH(QVariant, expected);
        QTemporaryDir dir;
        const TableLayout layout{
            QStringLiteral("T.DB"), {Column{QStringLiteral("Feld"), type, size}}, 0, codePage};
        QString error;
        // Between full values, so a long blob cannot hide a neighbour's.
        QVERIFY(paradoxwriter::writeTable(dir.path(), layout, {{value}, {QVariant()}, {value}},
                                          &error));
        const QVariantList values = readColumn(dir.path(), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(values.size(), 3);
        QCOMPARE(values[0], expected);
        QVERIFY(values[1].isNull());
        QCOMPARE(values[2], expected);
    }

    void manyRecordsOverManyBlocks() {
        QTemporaryDir dir;
        const TableLayout layout{
            QStringLiteral("T.DB"), {Column{QStringLiteral("Nr"), 0x06, 8}}, 1, 1252};
        std::vector<QVariantList> rows;
        for (int i = 0; i < 5000; ++i)
            rows.push_back({double(i)});
        QString error;
        QVERIFY(paradoxwriter::writeTable(dir.path(), layout, rows, &error));
        const QVariantList values = readColumn(dir.path(), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(values.size(), 5000);
        for (int i = 0; i < 5000; ++i)
            QCOMPARE(values[i].toDouble(), double(i));
    }

    void bcd_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("expected");
        // Sign byte, then 32 digits in nibbles; the last `decimals` digits are decimals.
        QByteArray positive(17, '\0');
        positive[0] = char(0x82);
        positive[15] = char(0x12);
        positive[16] = char(0x34);
        QTest::newRow("12,34") << positive << 2 << 12.34;
        QByteArray negative(17, '\xff');
        negative[0] = char(0x02);
        negative[16] = char(0xff - 0x75);
        QTest::newRow("-7,5") << negative << 1 << -7.5;
    }

    void bcd() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, decimals);
        QFETCH(double, expected);
        paradox::FieldInfo field{QStringLiteral("B"), paradox::Bcd, 17, decimals, 0};
        CodePage codePage(1252);
        paradox::BlobFile none;
        QString error;
        const auto v = paradox::fieldValue(field, bytes.constData(), codePage, none, &error);
        QVERIFY(v);
        QCOMPARE(v->toDouble(), expected);
    }

    void unknownCodePageFallsBackTo1252() {
        CodePage codePage(9999);
        QVERIFY(!codePage.known());
        QCOMPARE(codePage.decode("M\xfcller \x80"), QStringLiteral("Müller €"));
    }

    // Damaged files are refused with a reason, never read past their end.
    void damagedFilesAreRefused_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("truncated data block") << "truncate"
                                              << "abgeschnitten";
        QTest::newRow("no paradox file") << "garbage"
                                         << "Paradox-Tabelle";
        QTest::newRow("record count") << "count"
                                      << "beschädigt";
        QTest::newRow("block chain loop") << "loop"
                                          << "beschädigt";
        QTest::newRow("memo outside its file") << "memo"
                                               << "Notizdatei";
        QTest::newRow("memo file missing") << "nomemo"
                                           << "fehlt";
    }

    void damagedFilesAreRefused() {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const TableLayout layout{
            QStringLiteral("T.DB"), {Column{QStringLiteral("Text"), 0x0C, 20}}, 0, 1252};
        std::vector<QVariantList> rows;
        for (int i = 0; i < 300; ++i)
            rows.push_back({QString(100, QLatin1Char('a' + i % 26))});
        QString error;
        QVERIFY(paradoxwriter::writeTable(dir.path(), layout, rows, &error));
        QFile db(dir.filePath(QStringLiteral("T.DB")));
        QVERIFY(db.open(QIODevice::ReadWrite));
        const qint64 size = db.size();
        if (damage == QLatin1String("truncate")) {
            db.resize(size - 100);
        } else if (damage == QLatin1String("garbage")) {
            db.seek(4);
            db.write("\x07", 1);
        } else if (damage == QLatin1String("count")) {
            db.seek(6);
            db.write("\x10\x27\0\0", 4);
        } else if (damage == QLatin1String("loop")) {
            db.seek(2);
            char h[2];
            db.read(h, 2);
            db.seek(quint8(h[0]) | quint8(h[1]) << 8); // the first block points to itself
            db.write("\x01\x00", 2);
        } else if (damage == QLatin1String("memo")) {
            QFile memo(dir.filePath(QStringLiteral("T.MB")));
            QVERIFY(memo.open(QIODevice::ReadWrite));
            memo.resize(4096);
        } else {
            QVERIFY(QFile::remove(dir.filePath(QStringLiteral("T.MB"))));
        }
        db.close();
        readColumn(dir.path(), &error);
        QVERIFY2(error.contains(reason), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestParadoxReader)
#include "tst_paradoxreader.moc"
