// The user's names of the carrier and song fields, their captions, and the fields the template
// field selection offers with the placeholder it builds.
#include "core/catalogue/fieldlabels.h"
#include "core/db/dataset.h"

#include <QTemporaryDir>
#include <QTest>

using namespace fieldlabels;

class TestFieldLabels : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

    int kopieRows(int key) {
        Statement s = m_db.prepare(u"SELECT COUNT(*) FROM \"FeldKopie\" WHERE \"Feldindex\" = ?1");
        s.bind(1, key);
        s.next();
        return int(s.toInt64(0));
    }

private slots:
    void initTestCase() {
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
        // Another group's field of usage 1, a field without style codes, and a user's name
        // without a delivered row: none of them is offered.
        m_db.exec(u"INSERT INTO \"FeldOriginal\" VALUES ('X', 10111, 'Fremd', 'Andere Gruppe', "
                  u"'FREMD', 1, 1);"
                  u"INSERT INTO \"FeldOriginal\" VALUES ('T', 29030, 'Ohne', 'Ohne Stil', "
                  u"'OHNESTIL', 0, -1);"
                  u"INSERT INTO \"FeldKopie\" VALUES ('T', 99999, 'Waise')");
    }
    void init() { m_db.exec(u"DELETE FROM \"FeldKopie\" WHERE \"Feldindex\" <> 99999"); }

    void selectableFields_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QStringList>("notOffered");
        const QStringList never{"FREMD", "OHNESTIL"};
        QTest::newRow("list") << 1 << QStringList{"TEXT_1", "SYSDATUM"}
                              << never + QStringList{"TITEL", "NAME_1"};
        QTest::newRow("carrier sheet")
            << 2 << QStringList{"TEXT_1", "TITEL", "SYSDATUM"} << never + QStringList{"NAME_1"};
        QTest::newRow("reminder") << 3 << QStringList{"TEXT_1", "TITEL", "NAME_1"} << never;
        QTest::newRow("lending list") << 4 << QStringList{"TEXT_1", "TITEL", "NAME_1"} << never;
        QTest::newRow("other kind")
            << 7 << QStringList{"SYSDATUM"} << never + QStringList{"TEXT_1", "TITEL", "NAME_1"};
    }
    void selectableFields() {
        QFETCH(int, kind);
        QFETCH(QStringList, offered);
        QFETCH(QStringList, notOffered);
        rename(m_db, 10110, QStringLiteral("Künstler"));
        const std::vector<SelectableField> fields =
            fieldlabels::selectableFields(m_db, QStringLiteral("T"), kind);
        QStringList names;
        qint32 last = 0;
        for (const SelectableField& f : fields) {
            QVERIFY(f.index > last); // ordered by key
            last = f.index;
            names.append(f.name);
            QVERIFY(f.index != 99999);
            if (f.index == 10110)
                QCOMPARE(f.renamed, QStringLiteral("Künstler"));
        }
        for (const QString& n : offered)
            QVERIFY2(names.contains(n), qPrintable(n));
        for (const QString& n : notOffered)
            QVERIFY2(!names.contains(n), qPrintable(n));
    }

    void placeholder_data() {
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("normal");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QString>("text");
        const int plain = int(Alignment::Normal), after = int(Alignment::PadAfter),
                  before = int(Alignment::PadBefore);
        QTest::newRow("no style") << false << false << false << false << plain << "$NAME$";
        QTest::newRow("bold, padded after")
            << true << false << false << false << after << "$F$&NAME&$N$";
        QTest::newRow("italic") << false << true << false << false << plain << "$K$$NAME$$N$";
        QTest::newRow("underline, padded before")
            << false << false << true << false << before << "$U$%NAME%$N$";
        QTest::newRow("normal") << false << false << false << true << plain << "$N$$NAME$";
        QTest::newRow("all three")
            << true << true << true << false << plain << "$F$$K$$U$$NAME$$N$";
    }
    void placeholder() {
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        QFETCH(bool, normal);
        QFETCH(int, alignment);
        QFETCH(QString, text);
        Styles styles;
        styles.bold = bold;
        styles.italic = italic;
        styles.underline = underline;
        styles.normal = normal;
        QCOMPARE(fieldlabels::placeholder(QStringLiteral("NAME"), styles, Alignment(alignment)),
                 text);
    }

    // A second rename updates the one row; names are kept as typed.
    void renameTwice() {
        rename(m_db, 10190, QStringLiteral("Label"));
        rename(m_db, 10190, QStringLiteral("\"Fir&ma\" ÄÖÜ"));
        QCOMPARE(kopieRows(10190), 1);
        QCOMPARE(userName(m_db, 10190), QStringLiteral("\"Fir&ma\" ÄÖÜ"));
        QCOMPARE(renamed(m_db).value(10190), QStringLiteral("\"Fir&ma\" ÄÖÜ"));
        const QString thirty(kMaxNameLength, QLatin1Char('x'));
        QVERIFY(nameRefusal(thirty).isEmpty());
        rename(m_db, 10190, thirty);
        QCOMPARE(userName(m_db, 10190), thirty);
        QVERIFY(!nameRefusal(thirty + QLatin1Char('x')).isEmpty());
        QVERIFY(!nameRefusal(QString()).isEmpty());
    }

    void reset_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("named");
        QTest::addColumn<QString>("delivered"); // empty: no delivered row
        QTest::newRow("with a user's name") << 10190 << true << "Her&steller";
        QTest::newRow("without a user's name") << 10150 << false << "Stat&us";
        QTest::newRow("without a delivered row") << 10999 << true << "";
    }
    void reset() {
        QFETCH(int, key);
        QFETCH(bool, named);
        QFETCH(QString, delivered);
        if (named)
            rename(m_db, key, QStringLiteral("Eigen"));
        const std::optional<QString> name = fieldlabels::reset(m_db, key);
        QCOMPARE(name.has_value(), !delivered.isEmpty());
        QCOMPARE(name.value_or(QString()), delivered);
        QCOMPARE(kopieRows(key), 0);
        QVERIFY(!renamed(m_db).contains(key));
    }

    // A stored empty name counts as none; delete all leaves other groups alone.
    void emptyNameAndDeleteAll() {
        m_db.exec(u"INSERT INTO \"FeldKopie\" VALUES ('T', 10115, '');"
                  u"INSERT INTO \"FeldKopie\" VALUES ('X', 10111, 'Fremd')");
        rename(m_db, 10110, QStringLiteral("Künstler"));
        const QHash<int, QString> names = renamed(m_db);
        QVERIFY(!names.contains(10115));
        QCOMPARE(names.value(10110), QStringLiteral("Künstler"));
        deleteAllRenamed(m_db);
        QVERIFY(renamed(m_db).isEmpty());
        QCOMPARE(kopieRows(10111), 1);
        m_db.exec(u"DELETE FROM \"FeldKopie\" WHERE \"Typ\" = 'X'");
    }

    void captions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << "Label"
                               << "Label:"
                               << "Label";
        QTest::newRow("mnemonic") << "La&bel"
                                  << "La&bel:"
                                  << "Label";
        QTest::newRow("status gains a colon") << "Stat&us"
                                              << "Stat&us:"
                                              << "Status";
        QTest::newRow("two ampersands") << "A&&B"
                                        << "A&&B:"
                                        << "AB";
    }
    void captions() {
        QFETCH(QString, name);
        QFETCH(QString, label);
        QFETCH(QString, title);
        QCOMPARE(labelCaption(name), label);
        QCOMPARE(columnTitle(name), title);
    }

    void labelKeys() {
        QCOMPARE(fieldlabels::labelKeys().size(), size_t(30));
        QVERIFY(isLabelKey(10190) && isLabelKey(10570));
        QVERIFY(!isLabelKey(10191) && !isLabelKey(20010));
        QCOMPARE(caption(10190), QStringLiteral("Her&steller:"));
        QCOMPARE(deliveredName(m_db, 10190), std::optional<QString>(QStringLiteral("Her&steller")));
        QCOMPARE(description(m_db, 10190), QStringLiteral("Hersteller (Firma, Label)"));
    }
};

QTEST_GUILESS_MAIN(TestFieldLabels)
#include "tst_fieldlabels.moc"
