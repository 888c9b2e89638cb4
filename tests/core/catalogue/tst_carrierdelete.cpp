// Deleting a carrier: every detail table, only that carrier, all or nothing.
#include "carrierfixture.h"
#include "core/catalogue/carrierdelete.h"
#include "core/db/dataset.h"

#include <QTemporaryDir>
#include <QTest>

class TestCarrierDelete : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;

    // A carrier with a row in each of the eight tables.
    void addFull(double n) {
        addCarrier(m_db, CarrierSpec(n, QStringLiteral("Gruppe %1").arg(n)));
        addSong(m_db, n, 1, 1, QStringLiteral("Lied"), 3.45);
        records::insert(m_db, LendingRecord{n, 1, 20040101, 1, QDate(2004, 1, 1), {}, 1});
        records::insert(m_db, DiscCodeRecord{n, 1, 12345});
        records::insert(m_db, PictureRecord{n, 1, QByteArray("x"), true});
        records::insert(m_db, CarrierTextRecord{n, QStringLiteral("Text\r\n")});
    }
    qint64 rowsOf(double n) {
        static const char* const tables[][2] = {{"MUSIKPOS", "Folgenummer Position"},
                                                {"MusikPosInformation", "Folgenummer Pos Info"},
                                                {"MUSIKVER", "Tonträgernummer"},
                                                {"MUSIKINF", "Folgenummer Kopf"},
                                                {"MUSIKGRF", "Tonträgernummer"},
                                                {"MUSIKTXT", "Folgenummer Text"},
                                                {"MusikInformation", "Folgenummer Info"},
                                                {"MUSIKKOP", "Folgenummer Kopf"}};
        qint64 total = 0;
        for (const auto& t : tables) {
            Statement s =
                m_db.prepare(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE \"%2\" = ?")
                                 .arg(QLatin1String(t[0]), QString::fromUtf8(t[1])));
            s.bind(1, n);
            s.next();
            total += s.toInt64(0);
        }
        return total;
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QFile::remove(dataset::databasePath(m_dir.path()));
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
        addFull(1);
        addFull(2);
    }
    void cleanup() { m_db.close(); }

    void deletesOnlyThatCarrier() {
        QCOMPARE(rowsOf(1), 8);
        carrierdelete::deleteCarrier(m_db, 1);
        QCOMPARE(rowsOf(1), 0);
        QCOMPARE(rowsOf(2), 8);
        QVERIFY(!carrierdelete::describe(m_db, 1));
        QCOMPARE(*carrierdelete::describe(m_db, 2), QStringLiteral("Gruppe 2 / Titel"));
    }

    void failureDeletesNothing() {
        // The last table refuses: the details deleted before it come back.
        m_db.exec(u"CREATE TRIGGER refuse BEFORE DELETE ON MUSIKKOP BEGIN "
                  u"SELECT RAISE(ABORT, 'gesperrt'); END");
        const QString before = dumpAll(m_db);
        try {
            carrierdelete::deleteCarrier(m_db, 1);
            QFAIL("no error");
        } catch (const DbError& e) {
            QVERIFY(e.message().contains(QStringLiteral("gesperrt")));
        }
        QCOMPARE(dumpAll(m_db), before);
        QVERIFY(!m_db.inTransaction());
    }
};

QTEST_GUILESS_MAIN(TestCarrierDelete)
#include "tst_carrierdelete.moc"
