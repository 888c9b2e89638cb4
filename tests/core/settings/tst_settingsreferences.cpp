// Settings that name a currency which is not there fall back, with a warning, instead of
// being stored with every imported carrier.
#include "core/db/dataset.h"
#include "core/settings/settingsreferences.h"

#include <QTemporaryDir>
#include <QTest>

class TestSettingsReferences : public QObject {
    Q_OBJECT

private slots:
    void currenciesFallBack_data() {
        QTest::addColumn<int>("newCurrency");
        QTest::addColumn<int>("oldCurrency");
        QTest::addColumn<bool>("deliveredOldGone");
        QTest::addColumn<int>("newAfter");
        QTest::addColumn<int>("oldAfter");
        QTest::addColumn<QStringList>("warnings");
        QTest::newRow("both there") << 3 << 2 << false << 3 << 2 << QStringList();
        QTest::newRow("new names nothing")
            << 101 << 2 << false << 1 << 2
            << QStringList{"Die Währung Nr. 101 aus den Einstellungen ([Currency] New) ist nicht "
                           "vorhanden; es gilt die Währung EUR."};
        QTest::newRow("old and its default gone")
            << 1 << 77 << true << 1 << 1
            << QStringList{"Die Währung Nr. 77 aus den Einstellungen ([Currency] Old) ist nicht "
                           "vorhanden; es gilt die Währung EUR."};
    }
    void currenciesFallBack() {
        QFETCH(int, newCurrency);
        QFETCH(int, oldCurrency);
        QFETCH(bool, deliveredOldGone);
        QFETCH(int, newAfter);
        QFETCH(int, oldAfter);
        QFETCH(QStringList, warnings);
        QTemporaryDir dir;
        dataset::create(dir.path());
        Database db;
        db.open(dataset::databasePath(dir.path()));
        if (deliveredOldGone)
            db.exec(u"DELETE FROM \"Currency\" WHERE \"Index\" = 2");
        Settings s;
        s.currencyNew = newCurrency;
        s.currencyOld = oldCurrency;
        QCOMPARE(settingsreferences::repair(db, s), warnings);
        QCOMPARE(s.currencyNew, newAfter);
        QCOMPARE(s.currencyOld, oldAfter);
    }
};

QTEST_GUILESS_MAIN(TestSettingsReferences)
#include "tst_settingsreferences.moc"
