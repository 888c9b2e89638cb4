#include "core/common/windows1252.h"
#include "core/db/database.h"
#include "core/db/dataset.h"
#include "core/db/schema.h"
#include "core/paradox/paradoximport.h"
#include "support/lockholderprocess.h"
#include "support/paradoxwriter.h"
#include "support/scriptedmessageservice.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Rows = std::vector<std::pair<QString, std::vector<QVariantList>>>;

const QString kGroup = QStringLiteral("Müller & Söhne");

// A small collection: two carriers with songs, a text, a picture, a borrower with a lending,
// a template and lookups.
Rows collection(const QString& group = kGroup,
                const QString& title = QStringLiteral("Größte Erfolge €")) {
    const QVariant none;
    QByteArray picture(3000, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char(i % 251);
    return {
        {QStringLiteral("MUSIKKOP"),
         {{group, title, 1.0, 17.0, 1.0, QStringLiteral("1975"), 2.0, 2.0, 7.3, 1.0, 12.5,
           QDate(2004, 12, 29), none},
          {QStringLiteral("Zweite"), QStringLiteral("Platte"), 1.0, 18.0, 2.0, none, none, none,
           none, -1.0, none, none, 3.0}}},
        {QStringLiteral("MUSIKPOS"),
         {{1.0, 1.0, 1.0, QStringLiteral("Über den Wolken"), group, 3.45, 2.0, none, none, none,
           QStringLiteral("1975")},
          {1.0, 1.0, 2.0, QStringLiteral("Straße"), none, 3.45, 2.0, none, none, 5.0, none},
          {2.0, 1.0, 1.0, QStringLiteral("Eins"), none, none, none, none, none, none, none}}},
        {QStringLiteral("MUSIKTXT"), {{1.0, QStringLiteral("Zeile 1\r\nZeile ä").repeated(30)}}},
        {QStringLiteral("MUSIKGRF"), {{1.0, 1.0, picture, true}}},
        {QStringLiteral("VERSTAMM"),
         {{1.0, QStringLiteral("Jörg"), none, QStringLiteral("Hauptstraße 1"), none,
           QStringLiteral("12345"), QStringLiteral("Köln"), none, none}}},
        {QStringLiteral("MUSIKVER"), {{2.0, 1.0, 12345678.0, 1.0, QDate(2005, 1, 2), none, 1.0}}},
        {QStringLiteral("MPRTTEXT"),
         {{1.0, 1.0, QStringLiteral("Liste"), 10.0, QStringLiteral("Kopf"), QStringLiteral("Seite"),
           none}}},
        {QStringLiteral("MUSIKART"),
         {{1.0, QStringLiteral("LP"), QStringLiteral("Langspielplatte"), 19.0}}},
        {QStringLiteral("MUSIKSTA"),
         {{-1.0, QStringLiteral("verliehen"), QStringLiteral("verliehen"), 0.0},
          {1.0, QStringLiteral("neu"), QStringLiteral("neu"), 0.0}}},
        {QStringLiteral("Currency"),
         {{qint64(1), QStringLiteral("EUR"), QStringLiteral("Euro"), 1.0}}},
    };
}

QByteArray fileHash(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

QString readText(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return windows1252::decodeTextFile(file.readAll());
}

} // namespace

class TestParadoxImport : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString source() const { return m_tmp.filePath(QStringLiteral("quelle")); }
    QString data() const { return m_tmp.filePath(QStringLiteral("daten")); }

private slots:
    void init() {
        QDir(source()).removeRecursively();
        QDir(data()).removeRecursively();
        QDir().mkpath(source());
    }

    void takesOverEveryTableWithItsCounts_data() {
        QTest::addColumn<int>("codePage");
        QTest::newRow("1252") << 1252;
        QTest::newRow("850") << 850;
    }

    void takesOverEveryTableWithItsCounts() {
        QFETCH(int, codePage);
        // "€" has no place in 850; it stays out of those texts.
        const QString group = codePage == 1252 ? kGroup + QStringLiteral(" €") : kGroup;
        const QString title =
            codePage == 1252 ? QStringLiteral("Größte Erfolge €") : QStringLiteral("Größte");
        QVERIFY(paradoxwriter::writeDataSet(source(), collection(group, title), codePage));
        QFile::rename(source() + QStringLiteral("/MUSIKKOP.DB"),
                      source() + QStringLiteral("/musikkop.db")); // any letter case
        {
            QFile ini(source() + QStringLiteral("/windskm.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[Settings]\r\nGlobal Number=42\r\n");
            QFile hosts(source() + QStringLiteral("/CDDBHOSTS.TXT"));
            QVERIFY(hosts.open(QIODevice::WriteOnly));
            hosts.write("gnudb.gnudb.org 8880\r\n");
        }
        // A field the schema does not know is left out and named in the report.
        paradoxwriter::TableLayout tips =
            paradoxwriter::schemaLayout(schema::table(u"MUSIKTIP"), codePage);
        tips.columns.push_back({QStringLiteral("Quelle"), 0x01, 10});
        QVERIFY(paradoxwriter::writeTable(
            source(), tips, {{QStringLiteral("H"), QStringLiteral("Tipp"), QStringLiteral("x")}},
            nullptr));
        ScriptedMessageService messages;
        const auto result = paradoximport::importDataSet(source(), data(), messages);
        QVERIFY2(result.ok, qPrintable(result.failure));
        QVERIFY(messages.messages().isEmpty());

        QStringList counts;
        for (const auto& c : result.counts)
            counts.append(QStringLiteral("%1 %2 %3").arg(c.label).arg(c.source).arg(c.result));
        QCOMPARE(counts, (QStringList{"Tonträger 2 2", "Lieder 3 3", "Texte 1 1", "Grafiken 1 1",
                                      "Entleiher 1 1", "Verleihvorgänge 1 1", "Druckvorlagen 1 1",
                                      "Hilfstabellen 4 4"}));
        QVERIFY(QFile::exists(data() + QStringLiteral("/WinDsKm.InI")));
        QVERIFY(QFile::exists(data() + QStringLiteral("/cddbhosts.txt")));
        const QString report = readText(result.reportPath);
        QVERIFY(report.contains(QStringLiteral("Tonträger")));
        QVERIFY2(report.contains(QStringLiteral("MUSIKTIP.DB: Das Feld \"Quelle\" ist unbekannt")),
                 qPrintable(report));

        Database db;
        db.open(dataset::databasePath(data()));
        Statement carrier = db.prepare(
            u"SELECT \"Gruppe/Interpret/Text 1\", \"Text 2\", \"Kaufdatum\", \"Bewertung\", "
            u"\"Kaufpreis\", \"Erscheinungsjahr\" FROM MUSIKKOP ORDER BY \"Folgenummer Kopf\"");
        QVERIFY(carrier.next());
        QCOMPARE(carrier.toString(0), group);
        QCOMPARE(carrier.toString(1), title);
        QCOMPARE(carrier.toDate(2), QDate(2004, 12, 29));
        QVERIFY(carrier.isNull(3)); // empty stays empty, not 0
        QCOMPARE(carrier.toDouble(4), 12.5);
        QVERIFY(carrier.next());
        QVERIFY(carrier.isNull(2));
        QVERIFY(carrier.isNull(5));
        QCOMPARE(db.scalar(u"SELECT \"Freier Text 2000 Zeichen\" FROM MUSIKTXT").toString(),
                 QStringLiteral("Zeile 1\r\nZeile ä").repeated(30));
        const QByteArray picture = db.scalar(u"SELECT \"Grafik\" FROM MUSIKGRF").toByteArray();
        QCOMPARE(picture.size(), 3000);
        QCOMPARE(picture[250], char(250));
        QCOMPARE(db.scalar(u"SELECT \"Ort\" FROM VERSTAMM").toString(), QStringLiteral("Köln"));
    }

    void oldCarrierTableIsConverted_data() {
        QTest::addColumn<MessageButton>("answer");
        QTest::addColumn<bool>("converted");
        QTest::newRow("OK") << MessageButton::Ok << true;
        QTest::newRow("Abbrechen") << MessageButton::Cancel << false;
    }

    void oldCarrierTableIsConverted() {
        QFETCH(MessageButton, answer);
        QFETCH(bool, converted);
        QVERIFY(paradoxwriter::writeDataSet(source(), {}));
        const schema::Table& carriers = schema::table(u"MUSIKKOP");
        QVERIFY(paradoxwriter::writeTable(
            source(), paradoxwriter::schemaLayout(carriers, 1252, 12),
            {{QStringLiteral("Alt"), QStringLiteral("Platte"), 1.0, 1.0, 1.0,
              QStringLiteral("1970"), 1.0, 0.0, 0.0, 1.0, 0.0, QVariant()}},
            nullptr));
        dataset::create(data());
        const QByteArray before = fileHash(dataset::databasePath(data()));
        ScriptedMessageService messages;
        messages.answer(answer);
        const auto result = paradoximport::importDataSet(source(), data(), messages);
        QCOMPARE(messages.messages().size(), 1);
        QVERIFY(messages.messages()[0].text.contains(QStringLiteral("MUSIKKOP.DB hat das Format")));
        QVERIFY2(result.ok == converted, qPrintable(result.failure));
        if (!converted) {
            QVERIFY(result.cancelled);
            QCOMPARE(fileHash(dataset::databasePath(data())), before);
            return;
        }
        Database db;
        db.open(dataset::databasePath(data()));
        QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM pragma_table_info('MUSIKKOP')").toInt(), 13);
        QCOMPARE(db.scalar(u"SELECT \"Bewertung\" FROM MUSIKKOP").toDouble(), 0.0);
    }

    void duplicateKeysKeepTheFirstAndAreReported() {
        Rows rows = collection();
        rows[0].second.push_back(rows[0].second[0]);
        rows[0].second.back()[4] = 3.0; // same key fields, another carrier number
        QVERIFY(paradoxwriter::writeDataSet(source(), rows));
        ScriptedMessageService messages;
        const auto result = paradoximport::importDataSet(source(), data(), messages);
        QVERIFY2(result.ok, qPrintable(result.failure));
        QCOMPARE(result.counts[0].source, 3);
        QCOMPARE(result.counts[0].result, 2);
        const QString report = readText(result.reportPath);
        QVERIFY2(report.contains(QStringLiteral("MUSIKKOP.DB, Datensatz 3: Der Schlüssel")),
                 qPrintable(report));
        Database db;
        db.open(dataset::databasePath(data()));
        QCOMPARE(db.scalar(u"SELECT MAX(\"Folgenummer Kopf\") FROM MUSIKKOP").toDouble(), 2.0);
    }

    // Whatever fails, the data set there before stays as it was.
    void failuresLeaveThePresentData_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing table") << "missing"
                                       << "Die Datendatei MUSIKTXT.DB konnte nicht gefunden werden";
        QTest::newRow("missing memo file") << "missingMemo"
                                           << "Die Datendatei MUSIKGRF.MB konnte nicht gefunden";
        QTest::newRow("truncated file") << "truncated"
                                        << "MUSIKPOS.DB: Die Datei ist abgeschnitten";
        QTest::newRow("wrong header") << "header"
                                      << "VERSTAMM.DB: ";
        QTest::newRow("blob outside the memo file") << "blob"
                                                    << "MUSIKGRF.DB, Datensatz 1:";
        QTest::newRow("lock held") << "lock"
                                   << "";
        QTest::newRow("song without carrier")
            << "orphan"
            << "MUSIKPOS.DB, Datensatz 401: Das Lied gehört zu keinem Tonträger (Tonträger 9).";
        QTest::newRow("bytes inserted into the carriers") << "inserted"
                                                          << "MUSIKKOP.DB";
    }

    void failuresLeaveThePresentData() {
        QFETCH(QString, damage);
        QFETCH(QString, expected);
        Rows rows = collection();
        std::vector<QVariantList> songs;
        for (int i = 1; i <= 400; ++i)
            songs.push_back({1.0, 1.0, double(i), QStringLiteral("Lied"), QVariant(), 3.0});
        if (damage == QLatin1String("orphan"))
            songs.push_back({9.0, 1.0, 1.0, QStringLiteral("Verwaist"), QVariant(), 3.0});
        rows[1].second = songs;
        QVERIFY(paradoxwriter::writeDataSet(source(), rows));
        const QDir src(source());
        if (damage == QLatin1String("missing")) {
            QFile::remove(src.filePath(QStringLiteral("MUSIKTXT.DB")));
        } else if (damage == QLatin1String("missingMemo")) {
            QFile::remove(src.filePath(QStringLiteral("MUSIKGRF.MB")));
        } else if (damage == QLatin1String("truncated")) {
            QFile f(src.filePath(QStringLiteral("MUSIKPOS.DB")));
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.resize(f.size() - 1000);
        } else if (damage == QLatin1String("header")) {
            QFile f(src.filePath(QStringLiteral("VERSTAMM.DB")));
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(0x21);
            f.write("\x05\x00", 2); // five fields declared where nine are
        } else if (damage == QLatin1String("blob")) {
            QFile f(src.filePath(QStringLiteral("MUSIKGRF.MB")));
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.resize(4096);
        } else if (damage == QLatin1String("inserted")) {
            QFile f(src.filePath(QStringLiteral("MUSIKKOP.DB")));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QByteArray bytes = f.readAll();
            // Into the first record: behind the header and the block's own six bytes.
            const int headerSize = quint8(bytes[2]) | quint8(bytes[3]) << 8;
            bytes.insert(headerSize + 6 + 10, QByteArray(64, '\x7f'));
            f.seek(0);
            f.write(bytes);
        }
        dataset::create(data());
        const QByteArray before = fileHash(dataset::databasePath(data()));
        std::unique_ptr<LockHolderProcess> holder;
        if (damage == QLatin1String("lock")) {
            holder = std::make_unique<LockHolderProcess>(data());
            QVERIFY(holder->holds());
        }
        ScriptedMessageService messages;
        const auto result = paradoximport::importDataSet(source(), data(), messages);
        QVERIFY(!result.ok);
        QVERIFY2(result.failure.contains(expected), qPrintable(result.failure));
        QCOMPARE(result.inUse, damage == QLatin1String("lock"));
        QCOMPARE(fileHash(dataset::databasePath(data())), before);
        QVERIFY(!QFile::exists(data() + QStringLiteral("/.uebernahme")));
        if (damage == QLatin1String("orphan")) // the report names every fault
            QVERIFY(readText(result.reportPath).contains(expected));
    }

    void cancelLeavesThePresentData() {
        QVERIFY(paradoxwriter::writeDataSet(source(), collection()));
        dataset::create(data());
        const QByteArray before = fileHash(dataset::databasePath(data()));
        ScriptedMessageService messages;
        QStringList seen;
        const auto result = paradoximport::importDataSet(
            source(), data(), messages, [&](const QString& file, qint64) {
                seen.append(file);
                return file != QLatin1String("MUSIKPOS.DB");
            });
        QVERIFY(result.cancelled);
        QVERIFY(!result.ok);
        QCOMPARE(fileHash(dataset::databasePath(data())), before);
    }
};

QTEST_GUILESS_MAIN(TestParadoxImport)
#include "tst_paradoximport.moc"
