#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/db/startupchecks.h"
#include "support/filesizelimit.h"
#include "support/scriptedmessageservice.h"

#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

class TestStartupChecks : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    Database m_db;
    ScriptedMessageService m_messages;
    QStringList m_dialogEvents;
    startupchecks::Hooks m_hooks;

    // Replaces a table by one with only its first n fields, as older versions had it,
    // holding the given number of rows.
    void makeOldFormat(const QString& name, int fields, int rows) {
        const schema::Table& table = schema::table(name);
        schema::Table old = table;
        old.fields.resize(fields);
        old.indexes.clear();
        m_db.exec(QStringLiteral("DROP TABLE %1").arg(schema::quoted(table.name)));
        m_db.exec(schema::createTableSql(old));
        for (int r = 1; r <= rows; ++r) {
            QStringList values;
            for (int f = 0; f < fields; ++f)
                values.append(old.fields[f].type == schema::FieldType::Alpha
                                  ? QStringLiteral("'x%1'").arg(r)
                                  : QString::number(r));
            m_db.exec(QStringLiteral("INSERT INTO %1 VALUES (%2)")
                          .arg(schema::quoted(table.name), values.join(',')));
        }
    }

    QStringList rebuildAll(bool requested, bool expectSuccess = true) {
        QStringList rebuilt;
        const bool ok =
            startupchecks::checkAndRebuildIndexes(m_db, requested, m_messages, m_hooks, &rebuilt);
        QTest::qCompare(ok, expectSuccess, "ok", "expectSuccess", __FILE__, __LINE__);
        return rebuilt;
    }

    int fields(const char* table) {
        return startupchecks::fieldCount(m_db, QString::fromLatin1(table)).value_or(-1);
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        dataset::create(m_dir->path());
        m_db.open(dataset::databasePath(m_dir->path()));
        m_messages = ScriptedMessageService();
        m_dialogEvents.clear();
        m_hooks.setDialogVisible = [this](bool visible) {
            m_dialogEvents.append(visible ? QStringLiteral("show") : QStringLiteral("hide"));
        };
    }
    void cleanup() { m_db.close(); }

    void missingDataFile_data() {
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QString>("reported");
        QTest::newRow("none") << QStringList() << "";
        QTest::newRow("first in order") << QStringList({"VERSTAMM", "Currency"}) << "CURRENCY.DB";
        QTest::newRow("memo table") << QStringList({"MUSIKTXT"}) << "MUSIKTXT.DB";
        QTest::newRow("mixed case name")
            << QStringList({"MusikPosInformation"}) << "MusikPosInformation.DB";
        QTest::newRow("dance styles are not checked") << QStringList({"MusikTanzStil"}) << "";
    }
    void missingDataFile() {
        QFETCH(QStringList, dropped);
        QFETCH(QString, reported);
        for (const QString& t : dropped)
            m_db.exec(QStringLiteral("DROP TABLE %1").arg(schema::quoted(t)));
        QCOMPARE(startupchecks::checkDataFiles(m_db, m_messages, m_hooks), reported.isEmpty());
        if (reported.isEmpty()) {
            QVERIFY(m_messages.messages().isEmpty());
            return;
        }
        QCOMPARE(m_messages.messages().size(), 1);
        const Message& m = m_messages.messages().first();
        QCOMPARE(m.text, QStringLiteral(
                             "Die Datendatei %1 konnte nicht gefunden werden. Hierdurch kann die "
                             "Programmausführung nicht fortgesetzt werden!")
                             .arg(reported));
        QCOMPARE(m.kind, MessageKind::Error);
        QCOMPARE(m.buttons, MessageButton::Ok | MessageButton::Help);
        QCOMPARE(m.helpContext, 5501);
    }

    void intactIndexesAreLeftAlone() { QCOMPARE(rebuildAll(false), QStringList()); }

    void brokenIndexOfOneTableIsRebuilt_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("table");
        QTest::newRow("dropped") << "DROP INDEX \"MUSIKART.Kurzbezeichnung\""
                                 << "MUSIKART";
        QTest::newRow("wrong fields")
            << "DROP INDEX \"VERSTAMM.Alpha\"; CREATE INDEX \"VERSTAMM.Alpha\" ON \"VERSTAMM\" "
               "(\"Name 1\" COLLATE GERMAN)"
            << "VERSTAMM";
        QTest::newRow("case-sensitive") << "DROP INDEX \"Currency.Currency\"; CREATE INDEX "
                                           "\"Currency.Currency\" ON \"Currency\" (\"Currency\")"
                                        << "Currency";
        QTest::newRow("index of an older version")
            << "CREATE INDEX \"MUSIKVER.X03\" ON \"MUSIKVER\" (\"Verliehen an\")"
            << "MUSIKVER";
    }
    void brokenIndexOfOneTableIsRebuilt() {
        QFETCH(QString, damage);
        QFETCH(QString, table);
        m_db.exec(damage);
        QCOMPARE(rebuildAll(false), QStringList({table}));
        QVERIFY(startupchecks::indexesUsable(m_db, table));
        QCOMPARE(rebuildAll(false), QStringList());
        QVERIFY(m_messages.messages().isEmpty());
    }

    void reindexRebuildsAllTables() {
        const QStringList rebuilt = rebuildAll(true);
        QCOMPARE(rebuilt.size(), 24);
        QVERIFY(!rebuilt.contains(QStringLiteral("MUSIKTIP")));
        QCOMPARE(rebuilt.first(), QStringLiteral("MUSIKKOP"));
        QCOMPARE(rebuilt.last(), QStringLiteral("MUSIKEXT"));
    }

    // A data set of an earlier version lacks the origins table and the carriers' index for
    // the owned-already check. Start-up, check, restore and Paradox import each run some of
    // the checks; whichever runs first completes the data set without a message.
    void earlierDataSetCompletedSilently_data() {
        QTest::addColumn<QString>("checks");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("start-up and check") << "files indexes formats" << false;
        QTest::newRow("restore") << "files formats" << false;
        QTest::newRow("Paradox import") << "files formats indexes" << false;
        // Nothing can be created: the program runs without the table until a change needs it.
        QTest::newRow("read-only file") << "files indexes formats" << true;
    }
    void earlierDataSetCompletedSilently() {
        QFETCH(QString, checks);
        QFETCH(bool, readOnly);
        m_db.exec(u"DROP TABLE \"MUSIKEXT\"");
        if (readOnly)
            m_db.exec(u"PRAGMA query_only = 1");
        else
            m_db.exec(u"DROP INDEX \"MUSIKKOP.Gruppe und Titel\"");
        QStringList rebuilt;
        for (const QString& check : checks.split(QLatin1Char(' '))) {
            if (check == QLatin1String("files"))
                QVERIFY(startupchecks::checkDataFiles(m_db, m_messages, m_hooks));
            else if (check == QLatin1String("formats"))
                QVERIFY(startupchecks::checkAndUpgradeFormats(m_db, m_messages, m_hooks));
            else
                QVERIFY(startupchecks::checkAndRebuildIndexes(m_db, false, m_messages, m_hooks,
                                                              &rebuilt));
        }
        QCOMPARE(m_messages.messages().size(), 0);
        QVERIFY(!rebuilt.contains(QStringLiteral("MUSIKEXT")));
        QCOMPARE(fields("MUSIKEXT"), readOnly ? -1 : 3);
        if (!readOnly) {
            QVERIFY(startupchecks::indexesUsable(m_db, QStringLiteral("MUSIKEXT")));
            QVERIFY(!checks.contains(QLatin1String("indexes")) ||
                    startupchecks::indexesUsable(m_db, QStringLiteral("MUSIKKOP")));
        }
    }

    void missingPrimaryKeyIsRebuiltKeepingTheRows() {
        m_db.exec(u"DROP TABLE \"VERSTAMM\"; CREATE TABLE \"VERSTAMM\" (\"Folgenummer\" DOUBLE, "
                  u"\"Name 1\" VARCHAR(35), "
                  u"\"Name 2\" VARCHAR(35), \"Straße\" VARCHAR(35), \"Postfach\" VARCHAR(10), "
                  u"\"Postleitzahl\" VARCHAR(8), "
                  u"\"Ort\" VARCHAR(26), \"Land\" VARCHAR(35), \"Telefon\" VARCHAR(20));"
                  u"INSERT INTO \"VERSTAMM\" (\"Folgenummer\", \"Name 1\") VALUES (1, 'Anna'), (2, "
                  u"'Bernd')");
        QCOMPARE(rebuildAll(false), QStringList({"VERSTAMM"}));
        QVERIFY(startupchecks::indexesUsable(m_db, QStringLiteral("VERSTAMM")));
        QCOMPARE(records::count(m_db, schema::table(u"VERSTAMM")), 2);
    }

    void failedRebuildNamesTheTable() {
        m_db.exec(u"DROP TABLE \"MUSIKCOV\"");
        m_hooks.processEvents = [] {};
        QCOMPARE(rebuildAll(false, false), QStringList());
        QCOMPARE(m_messages.messages().size(), 1);
        const Message& m = m_messages.messages().first();
        QCOMPARE(m.text,
                 QStringLiteral(
                     "Ein Index für die Datenbank MUSIKCOV.DB konnte nicht generiert werden! \n"
                     "Die Programmausführung kann nicht fortgesetzt werden!"));
        QCOMPARE(m.helpContext, 8033);
        QCOMPARE(m_dialogEvents, QStringList({"hide", "show"}));
    }

    // A disk that is full while the indexes are built again: the message says so.
    void failedRebuildNamesTheReason() {
        m_db.exec(
            u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
            u"INSERT INTO \"MUSIKPOS\" (\"Folgenummer Position\", \"Seite der Schallplatte\", "
            u"\"Nr. des Liedes\", \"Titel des Liedes\") SELECT i, 1, 1, hex(randomblob(20)) "
            u"FROM n");
        m_hooks.processEvents = [] {};
        {
            FileSizeLimit limit(8192); // no write beyond the first pages
            QCOMPARE(rebuildAll(true, false), QStringList());
        }
        QCOMPARE(m_messages.messages().size(), 1);
        const QStringList lines = m_messages.messages().first().text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[1].startsWith(QStringLiteral("Auf dem Datenträger")) ||
                     lines[1].startsWith(QStringLiteral("Die Datenbank kann nicht")),
                 qPrintable(lines[1]));
        QCOMPARE(lines[2], QStringLiteral("Die Programmausführung kann nicht fortgesetzt werden!"));
    }

    void currentFormatPasses() {
        QVERIFY(startupchecks::checkAndUpgradeFormats(m_db, m_messages, m_hooks));
        QVERIFY(m_messages.messages().isEmpty());
    }

    void oldCarrierTable_data() {
        QTest::addColumn<MessageButton>("answer");
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK converts") << MessageButton::Ok << true;
        QTest::newRow("Cancel ends the start") << MessageButton::Cancel << false;
    }
    void oldCarrierTable() {
        QFETCH(MessageButton, answer);
        QFETCH(bool, ok);
        makeOldFormat(QStringLiteral("MUSIKKOP"), 12, 3);
        m_messages.answer(answer);
        QCOMPARE(startupchecks::checkAndUpgradeFormats(m_db, m_messages, m_hooks), ok);
        QCOMPARE(m_messages.messages().size(), 1);
        const Message& m = m_messages.messages().first();
        QVERIFY(m.text.startsWith(QLatin1String(
            "Die Datenbank MUSIKKOP.DB hat das Format der Diskarium (DOS) vor V3.0.2.")));
        QCOMPARE(m.kind, MessageKind::Confirmation);
        QCOMPARE(m.buttons, MessageButton::Ok | MessageButton::Cancel | MessageButton::Help);
        QCOMPARE(m.helpContext, 8001);
        QCOMPARE(fields("MUSIKKOP"), ok ? 13 : 12);
        if (ok)
            QCOMPARE(
                m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKKOP\" WHERE \"Bewertung\" = 0").toInt(),
                3);
    }

    void oldCarrierTableWithIndexes_data() {
        QTest::addColumn<QString>("leftover");
        QTest::newRow("indexes built at start") << "";
        // An earlier start indexed the missing column's name as a constant text.
        QTest::newRow("constant index of an earlier start")
            << "DROP INDEX IF EXISTS \"MUSIKKOP.Liste Bewertung\"; CREATE INDEX "
               "\"MUSIKKOP.Liste Bewertung\" ON \"MUSIKKOP\" (\"Bewertung\", \"Folgenummer Kopf\")";
    }
    void oldCarrierTableWithIndexes() {
        QFETCH(QString, leftover);
        makeOldFormat(QStringLiteral("MUSIKKOP"), 12, 3);
        rebuildAll(false);
        if (!leftover.isEmpty()) {
            // Written as an earlier version did, which let SQLite read the name as text.
            sqlite3_db_config(m_db.handle(), SQLITE_DBCONFIG_DQS_DDL, 1, nullptr);
            m_db.exec(leftover);
            sqlite3_db_config(m_db.handle(), SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
        }
        QVERIFY(startupchecks::checkAndUpgradeFormats(m_db, m_messages, m_hooks));
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(fields("MUSIKKOP"), 13);
        QCOMPARE(m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKKOP\" WHERE \"Bewertung\" = 0").toInt(),
                 3);
        QCOMPARE(startupchecks::pageCheckFindings(m_db), QString());
        QVERIFY(startupchecks::indexesUsable(m_db, QStringLiteral("MUSIKKOP")));
    }

    void oldSongTable_data() {
        QTest::addColumn<int>("oldFields");
        QTest::addColumn<QString>("version");
        QTest::newRow("9 fields") << 9 << "V3.0.2";
        QTest::newRow("10 fields") << 10 << "V3.1.5";
    }
    void oldSongTable() {
        QFETCH(int, oldFields);
        QFETCH(QString, version);
        makeOldFormat(QStringLiteral("MUSIKPOS"), oldFields, 4);
        QVERIFY(startupchecks::checkAndUpgradeFormats(m_db, m_messages, m_hooks));
        QCOMPARE(m_messages.messages().size(), 1);
        QVERIFY(m_messages.messages().first().text.contains(
            QStringLiteral("MUSIKPOS.DB hat das Format der Diskarium (DOS) vor ") + version));
        QCOMPARE(m_messages.messages().first().helpContext, 8004);
        QCOMPARE(fields("MUSIKPOS"), 11);
        QCOMPARE(m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKPOS\" WHERE \"Erscheinungsjahr\" = ''")
                     .toInt(),
                 4);
        QCOMPARE(m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKPOS\" WHERE \"Bewertung\" = 0").toInt(),
                 oldFields == 9 ? 4 : 0);
    }

    void cancelledSongConversionChecksNothingElse() {
        makeOldFormat(QStringLiteral("MUSIKPOS"), 10, 1);
        makeOldFormat(QStringLiteral("VERSTAMM"), 8, 1);
        m_messages.answer(MessageButton::Cancel);
        QVERIFY(!startupchecks::checkAndUpgradeFormats(m_db, m_messages, m_hooks));
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(fields("MUSIKPOS"), 10);
    }

    void unknownFormats_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("oldFields");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("helpContext");
        QTest::newRow("carriers") << "MUSIKKOP" << 11
                                  << "Die Datenbank MUSIKKOP.DB hat ein unbekanntes Format! Die "
                                     "Programmausführung kann nicht fortgesetzt werden!"
                                  << 8003;
        QTest::newRow("songs") << "MUSIKPOS" << 8
                               << "Die Datenbank MUSIKPOS.DB hat ein unbekanntes Format! Die "
                                  "Programmausführung kann nicht fortgesetzt werden!"
                               << 8008;
        QTest::newRow("borrowers")
            << "VERSTAMM" << 8
            << "Die Datenbank VERSTAMM.DB ist ungültig (falsche Feldanzahl)! \nDie "
               "Programmausführung kann nicht fortgesetzt werden!"
            << 8023;
        QTest::newRow("currencies")
            << "Currency" << 3
            << "Die Datenbank Currency.DB ist ungültig (falsche Feldanzahl)! \nDie "
               "Programmausführung kann nicht fortgesetzt werden!"
            << 0;
    }
    void unknownFormats() {
        QFETCH(QString, table);
        QFETCH(int, oldFields);
        QFETCH(QString, text);
        QFETCH(int, helpContext);
        makeOldFormat(table, oldFields, 1);
        QVERIFY(!startupchecks::checkAndUpgradeFormats(m_db, m_messages, m_hooks));
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(m_messages.messages().first().text, text);
        QCOMPARE(m_messages.messages().first().kind, MessageKind::Error);
        QCOMPARE(m_messages.messages().first().helpContext, helpContext);
        QCOMPARE(m_dialogEvents, QStringList({"hide", "show"}));
    }

    void oldInformationTableGetsItsColumns() {
        makeOldFormat(QStringLiteral("MusikInformation"), 6, 5);
        QVERIFY(startupchecks::checkAndUpgradeFormats(m_db, m_messages, m_hooks));
        QVERIFY(m_messages.messages().isEmpty());
        const auto rows = records::select<CarrierInfoRecord>(m_db);
        QCOMPARE(rows.size(), size_t(5));
        for (const auto& r : rows) {
            QCOMPARE(r.currency, 0);
            QCOMPARE(r.creationDate, QDate(1970, 1, 1));
            QCOMPARE(r.changeDate, QDate(1970, 1, 1));
        }
    }
};

QTEST_GUILESS_MAIN(TestStartupChecks)
#include "tst_startupchecks.moc"
