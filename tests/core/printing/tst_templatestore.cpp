#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/printing/templatestore.h"

#include <QTemporaryDir>
#include <QTest>

// Templates by type: numbering, line ends, order and the checks before storing.
class TestTemplateStore : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

    static PrintTemplateRecord named(int type, const QString& name) {
        PrintTemplateRecord r;
        r.type = type;
        r.bezeichnung = name;
        r.seitenrand = 10;
        r.kopfText = r.seitenText = r.fussText = QStringLiteral("x");
        return r;
    }

private slots:
    void init() {
        m_db.close();
        QFile::remove(m_dir.filePath(QStringLiteral("t.db")));
        m_db.open(m_dir.filePath(QStringLiteral("t.db")), Database::OpenMode::CreateIfMissing);
        dataset::createSchema(m_db);
    }

    void numbersCountPerType() {
        QCOMPARE(templatestore::save(m_db, named(2, QStringLiteral("a"))).indexNummer, 1);
        QCOMPARE(templatestore::save(m_db, named(2, QStringLiteral("b"))).indexNummer, 2);
        QCOMPARE(templatestore::save(m_db, named(1, QStringLiteral("c"))).indexNummer, 1);
        QVERIFY(templatestore::remove(m_db, 2, 1));
        QCOMPARE(templatestore::save(m_db, named(2, QStringLiteral("d"))).indexNummer, 3);
    }

    void partsKeepCrLf() {
        PrintTemplateRecord r = named(2, QStringLiteral("a"));
        r.seitenText = QStringLiteral("eins\nzwei\rdrei\r\n");
        templatestore::save(m_db, r);
        QCOMPARE(templatestore::load(m_db, 2, 1)->seitenText,
                 QStringLiteral("eins\r\nzwei\r\ndrei\r\n"));

        // A lone LF stored by someone else reads back as a line break.
        m_db.exec(u"UPDATE MPRTTEXT SET \"Fuss-Text\" = 'a' || char(10) || 'b'");
        QCOMPARE(templatestore::load(m_db, 2, 1)->fussText, QStringLiteral("a\r\nb"));
    }

    void listOrderedByNameGerman() {
        for (const char* name : {"Zebra", "Äpfel", "apfel", "Birne"})
            templatestore::save(m_db, named(1, QString::fromUtf8(name)));
        templatestore::save(m_db, named(2, QStringLiteral("Anders")));
        QStringList names;
        for (const PrintTemplateRecord& r : templatestore::byType(m_db, 1))
            names << r.bezeichnung;
        QCOMPARE(names, (QStringList{"apfel", "Äpfel", "Birne", "Zebra"}));
    }

    void choose() {
        templatestore::save(m_db, named(2, QStringLiteral("Zweite")));
        templatestore::save(m_db, named(2, QStringLiteral("7")));
        QCOMPARE(templatestore::choose(m_db, 2, QString())->bezeichnung, QStringLiteral("Zweite"));
        QCOMPARE(templatestore::choose(m_db, 2, QStringLiteral("2"))->bezeichnung,
                 QStringLiteral("7"));
        QCOMPARE(templatestore::choose(m_db, 2, QStringLiteral("7"))->indexNummer, 2);
        QVERIFY(!templatestore::choose(m_db, 2, QStringLiteral("fehlt")));
        QVERIFY(!templatestore::choose(m_db, 3, QString()));
    }

    void refusedRecordsStoreNothing_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("name too long") << 0;
        QTest::newRow("margin") << 1;
        QTest::newRow("part too long") << 2;
    }
    void refusedRecordsStoreNothing() {
        QFETCH(int, kind);
        PrintTemplateRecord r = named(2, QStringLiteral("a"));
        if (kind == 0)
            r.bezeichnung = QString(51, QLatin1Char('n'));
        if (kind == 1)
            r.seitenrand = 101;
        if (kind == 2)
            r.kopfText = QString(65535, QLatin1Char('k')) + QLatin1Char('\n');
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, templatestore::save(m_db, r));
        QVERIFY(templatestore::byType(m_db, 2).empty());
    }
};

QTEST_GUILESS_MAIN(TestTemplateStore)
#include "tst_templatestore.moc"
