#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/db/startupchecks.h"
#include "support/scriptedmessageservice.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

// The delivered data set must pass every start-up check and be usable on the first day.
class TestDataset : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

    QStringList column(const QString& sql) {
        Statement s = m_db.prepare(sql);
        QStringList values;
        while (s.next())
            values.append(s.toString(0));
        return values;
    }

    // The field selection of the template editor: delivered rows offered for a template kind.
    QStringList offeredNames(int kind) {
        QString extra;
        if (kind == 1)
            extra = QStringLiteral("or \"Verwendung\" = 1");
        else if (kind == 2)
            extra = QStringLiteral("or \"Verwendung\" = 1 or \"Verwendung\" = 2");
        else if (kind == 3 || kind == 4)
            extra =
                QStringLiteral("or \"Verwendung\" = 1 or \"Verwendung\" = 2 or \"Verwendung\" = 3");
        return column(
            QStringLiteral("SELECT \"Listentext\" FROM \"FeldOriginal\" WHERE \"Typ\" = 'T' and "
                           "\"Verwendung\" = 9999 or \"Verwendung\" = 0 %1 ORDER BY \"Feldindex\"")
                .arg(extra));
    }

private slots:
    void initTestCase() {
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
    }

    void passesEveryStartupCheck() {
        ScriptedMessageService messages;
        QVERIFY(startupchecks::checkDataFiles(m_db, messages));
        QStringList rebuilt;
        QVERIFY(startupchecks::checkAndRebuildIndexes(m_db, false, messages, {}, &rebuilt));
        QCOMPARE(rebuilt, QStringList());
        QVERIFY(startupchecks::checkAndUpgradeFormats(m_db, messages));
        QVERIFY(messages.messages().isEmpty());
    }

    void createRefusesAnExistingDatabase() {
        QVERIFY_THROWS_EXCEPTION(DbError, dataset::create(m_dir.path()));
    }

    void mediaTypesHaveCoverLayouts() {
        const QStringList types =
            column(u"SELECT \"Kurzbezeichnung\" FROM \"MUSIKART\" ORDER BY \"Index-Nummer\""_qs);
        for (const char* t : {"LP", "Single", "Maxi", "MC", "CD", "CD-Single", "DVD-Audio", "SACD",
                              "MiniDisc", "DAT", "Tonband"})
            QVERIFY2(types.contains(QString::fromLatin1(t)), t);
        QCOMPARE(m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKART\" a LEFT JOIN \"MUSIKCOV\" c USING "
                             u"(\"Index-Nummer\") "
                             u"WHERE c.\"Font Name\" IS NULL")
                     .toInt(),
                 0);
    }

    void lentStateAndLendingTexts() {
        QCOMPARE(
            m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKSTA\" WHERE \"Index-Nummer\" = -1").toInt(),
            1);
        QCOMPARE(
            m_db.scalar(u"SELECT COUNT(*) FROM \"MUSIKSTA\" WHERE \"Index-Nummer\" = 1").toInt(),
            1);
        QCOMPARE(
            column(
                u"SELECT \"Index\" FROM \"MUSIKHLP\" WHERE \"TableName\" = 'MUSIKVER' ORDER BY \"Index\""_qs),
            QStringList({"0.0", "1.0"}));
    }

    void currencies() {
        const auto rows = records::select<CurrencyRecord>(m_db, u"ORDER BY \"Index\"");
        QVERIFY(rows.size() >= 4);
        QCOMPARE(rows[0].currency, QStringLiteral("EUR"));
        QCOMPARE(rows[0].factor, 1.0);
        QCOMPARE(rows[1].currency, QStringLiteral("DEM"));
        QCOMPARE(rows[1].factor, 1.95583);
    }

    void everyLookupHasRows() {
        for (const QString& t : schema::lookupTables())
            QVERIFY2(records::count(m_db, schema::table(t)) > 0, qPrintable(t));
    }

    void everyLabelKeyHasADeliveredLabel() {
        QSet<int> keys;
        for (const auto& r : records::select<FieldLabelRecord>(m_db))
            keys.insert(r.feldindex);
        for (int k = 10110; k <= 10190; k += 5)
            QVERIFY2(keys.contains(k), qPrintable(QString::number(k)));
        for (int k = 10510; k <= 10570; k += 5)
            QVERIFY2(keys.contains(k), qPrintable(QString::number(k)));
    }

    void fieldSelectionOffersNamesPerTemplateKind_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QStringList>("notOffered");
        QTest::newRow("lists") << 1 << QStringList({"SYSDATUM", "TEXT_1", "ARTL"})
                               << QStringList({"TITEL", "NAME_1"});
        QTest::newRow("carriers") << 2 << QStringList({"TEXT_1", "TITEL", "LZEIT"})
                                  << QStringList({"NAME_1"});
        QTest::newRow("reminders")
            << 3 << QStringList({"TEXT_1", "NAME_1", "VERLIEHEN"}) << QStringList();
        QTest::newRow("lending lists")
            << 4 << QStringList({"ZURUECK", "SYSSEITE"}) << QStringList();
    }
    void fieldSelectionOffersNamesPerTemplateKind() {
        QFETCH(int, kind);
        QFETCH(QStringList, offered);
        QFETCH(QStringList, notOffered);
        const QStringList names = offeredNames(kind);
        for (const QString& n : offered)
            QVERIFY2(names.contains(n), qPrintable(n));
        for (const QString& n : notOffered)
            QVERIFY2(!names.contains(n), qPrintable(n));
    }

    // Every placeholder of the delivered templates is a name the reports know.
    void templatesUseKnownNames() {
        QSet<QString> known = {"F", "K", "U", "N"};
        for (const auto& r : records::select<FieldLabelRecord>(m_db))
            known.insert(r.listentext);
        const auto templates = records::select<PrintTemplateRecord>(m_db);
        QSet<int> types;
        static const QRegularExpression placeholder(QStringLiteral("[$&%]([^$&%\r]*)[$&%]"));
        for (const auto& t : templates) {
            types.insert(int(t.type));
            QVERIFY(!t.seitenText.isEmpty());
            if (t.type != 3) {
                QVERIFY(!t.kopfText.isEmpty());
                QVERIFY(!t.fussText.isEmpty());
            }
            QVERIFY2(!t.seitenText.contains(QRegularExpression(QStringLiteral("[^\r]\n"))),
                     "lines end with CR LF");
            for (const QString& part : {t.kopfText, t.seitenText, t.fussText}) {
                auto it = placeholder.globalMatch(part);
                while (it.hasNext()) {
                    const QString name = it.next().captured(1);
                    QVERIFY2(known.contains(name), qPrintable(t.bezeichnung + ": " + name));
                }
            }
        }
        QCOMPARE(types, QSet<int>({1, 2, 3, 4}));
    }

    void tipsOfAllKinds() {
        const auto tips = records::select<TipRecord>(m_db);
        QVERIFY(tips.size() >= 20);
        QSet<QString> kinds;
        for (const auto& t : tips) {
            kinds.insert(t.art);
            QVERIFY(t.tip.size() <= 255);
        }
        QCOMPARE(kinds, QSet<QString>({"H", "N", "R", "S", "W"}));
    }
};

QTEST_GUILESS_MAIN(TestDataset)
#include "tst_dataset.moc"
