// The rules a sound data set keeps, each broken once on a small collection.
#include "core/db/dataset.h"
#include "core/db/soundness.h"

#include <QTemporaryDir>
#include <QTest>

class TestSoundness : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

private slots:
    void init() {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        m_db.close();
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
        // One carrier with a song, a lending to a borrower and its information record.
        m_db.exec(u"INSERT INTO MUSIKKOP (\"Folgenummer Kopf\", \"Gruppe/Interpret/Text 1\", "
                  u"\"Anzahl der Lieder\", \"Kaufdatum\") VALUES (1, 'Abba', 1, '2004-12-29');"
                  u"INSERT INTO MUSIKPOS (\"Folgenummer Position\", \"Seite der Schallplatte\", "
                  u"\"Nr. des Liedes\", \"Titel des Liedes\") VALUES (1, 1, 1, 'SOS');"
                  u"INSERT INTO VERSTAMM (\"Folgenummer\", \"Name 1\") VALUES (7, 'Meier');"
                  u"INSERT INTO MUSIKVER (\"Tonträgernummer\", \"Verleihstatus\", \"Folgenummer\", "
                  u"\"Verliehen an\") VALUES (1, 1, 5, 7);"
                  u"INSERT INTO MusikInformation (\"Folgenummer Info\") VALUES (1)");
    }

    void soundCollectionHasNoViolation() { QVERIFY(soundness::check(m_db).empty()); }

    void eachRuleFindsItsRecord_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("found");
        QTest::newRow("song without carrier")
            << "UPDATE MUSIKPOS SET \"Folgenummer Position\" = 9"
            << "MUSIKPOS.DB, Datensatz 1: Das Lied gehört zu keinem Tonträger (Tonträger 9).";
        QTest::newRow("lending without carrier")
            << "UPDATE MUSIKVER SET \"Tonträgernummer\" = 4"
            << "MUSIKVER.DB, Datensatz 1: Der Verleih gehört zu keinem Tonträger (Tonträger 4).";
        QTest::newRow("lending without borrower")
            << "DELETE FROM VERSTAMM"
            << "MUSIKVER.DB, Datensatz 1: Der Verleih nennt keinen vorhandenen Entleiher "
               "(Entleiher 7).";
        QTest::newRow("carrier number not whole")
            << "UPDATE MUSIKKOP SET \"Folgenummer Kopf\" = 1.5; "
               "UPDATE MUSIKPOS SET \"Folgenummer Position\" = 1.5; "
               "UPDATE MUSIKVER SET \"Tonträgernummer\" = 1.5"
            << "MUSIKKOP.DB, Datensatz 1: Das Feld \"Folgenummer Kopf\" hat den ungültigen Wert "
               "\"1.5\".";
        QTest::newRow("carrier number huge")
            << "UPDATE MUSIKKOP SET \"Folgenummer Kopf\" = 1e300"
            << "MUSIKKOP.DB, Datensatz 1: Das Feld \"Folgenummer Kopf\" hat den ungültigen Wert "
               "\"1e+300\".";
        QTest::newRow("negative song count")
            << "UPDATE MUSIKKOP SET \"Anzahl der Lieder\" = -3"
            << "MUSIKKOP.DB, Datensatz 1: Das Feld \"Anzahl der Lieder\" hat den ungültigen Wert "
               "\"-3\".";
        QTest::newRow("date that is none")
            << "UPDATE MUSIKKOP SET \"Kaufdatum\" = '2004-02-30'"
            << "MUSIKKOP.DB, Datensatz 1: Das Feld \"Kaufdatum\" enthält kein gültiges Datum "
               "(\"2004-02-30\").";
        QTest::newRow("control characters")
            << "UPDATE MUSIKPOS SET \"Titel des Liedes\" = 'S' || char(2) || 'S'"
            << "MUSIKPOS.DB, Datensatz 1: Das Feld \"Titel des Liedes\" enthält Steuerzeichen.";
    }
    void eachRuleFindsItsRecord() {
        QFETCH(QString, damage);
        QFETCH(QString, found);
        m_db.exec(damage);
        const std::vector<soundness::Violation> v = soundness::check(m_db);
        QVERIFY(!v.empty());
        QCOMPARE(v.front().describe(), found);
        QCOMPARE(soundness::check(m_db, 1).size(), size_t(1));
    }

    // Information records left by an older delete go; those of a carrier stay.
    void leftOverInformationIsRemoved() {
        m_db.exec(u"INSERT INTO MusikInformation (\"Folgenummer Info\") VALUES (3);"
                  u"INSERT INTO MusikPosInformation (\"Folgenummer Pos Info\", "
                  u"\"Seite der Schallplatte\", \"Nr. des Liedes\") VALUES (3, 1, 1)");
        QCOMPARE(soundness::removeLeftOverInformation(m_db), 2);
        QCOMPARE(m_db.scalar(u"SELECT COUNT(*) FROM MusikInformation").toInt(), 1);
        QVERIFY(soundness::check(m_db).empty());
    }
};

QTEST_GUILESS_MAIN(TestSoundness)
#include "tst_soundness.moc"
