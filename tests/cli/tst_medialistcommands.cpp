// diskarium-tool import, export and carriers, run as the user runs them.
#include "core/db/dataset.h"
#include "support/processrun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestMediaListCommands : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_data;

    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

private slots:
    void initTestCase() {
        m_data = m_dir.filePath(QStringLiteral("daten"));
        dataset::create(m_data);
    }

    void importThenExportAndList() {
        const QString good = file(QStringLiteral("abba.DKM"),
                                  "[Tontr\xE4ger]\r\nText 1=\"Abba\"\r\nText 2=\"Gold\"\r\n"
                                  "Tontr\xE4gerart=\"LP\"\r\nNummer=3\r\nKaufpreis=9.99\r\n");
        const QString bad = file(QStringLiteral("bad.DKM"), "[Tontr\xE4ger]\r\nText 1=\"\"\r\n");
        ProcessRun r = runTool({"import", m_data, good, bad, good});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QStringLiteral("LP:3\tAbba / Gold\nLP:4\tAbba / Gold\n"));
        QVERIFY2(r.err.startsWith(QStringLiteral("Die Datei [%1] konnte nicht importiert werden: "
                                                 "Zeile 2:")
                                      .arg(bad)),
                 qPrintable(r.err));

        r = runTool({"carriers", m_data, "--sort", "Nummerierung"});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QStringLiteral("Gruppe\tTitel\tArt\tNummerierung\t")));
        QVERIFY(lines[1].startsWith(QStringLiteral("Abba\tGold\tLP\t3\t0\t0,00\t")));
        QVERIFY(lines[1].contains(QStringLiteral("\t9,99\tEUR\t")));
        QCOMPARE(runTool({"carriers", m_data, "--sort", "Farbe"}).exitCode, 2);

        const QString out = m_dir.filePath(QStringLiteral("export"));
        r = runTool({"export", m_data, "lp:4", out, "--kaufdaten"});
        QCOMPARE(r.exitCode, 0);
        QFile f(out + QStringLiteral(".DKM"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.contains("Nummer=4\r\n"));
        QVERIFY(bytes.contains("Kaufpreis=9.99\r\n"));
        QCOMPARE(runTool({"export", m_data, "#1", out}).exitCode, 1); // exists
        QCOMPARE(runTool({"export", m_data, "#1", out, "--overwrite"}).exitCode, 0);
    }

    // A lent carrier's file and a settings file naming a missing currency: both are
    // stored as something that exists, and the output says what was changed.
    void importRepairsWhatPointsNowhere() {
        const QString data = m_dir.filePath(QStringLiteral("repair"));
        dataset::create(data);
        QFile ini(data + QStringLiteral("/WinDsKm.InI"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Currency]\r\nNew=101\r\n");
        ini.close();
        const QString lent = file(QStringLiteral("lent.DKM"),
                                  "[Tontr\xE4ger]\r\nText 1=\"Cream\"\r\nText 2=\"Fresh\"\r\n"
                                  "Tontr\xE4gerart=\"LP\"\r\nTontr\xE4gerstatus=\"Verliehen\"\r\n");
        const ProcessRun r = runTool({"import", data, lent});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.err.contains(QStringLiteral("Warnung: Die Währung Nr. 101")), qPrintable(r.err));
        QVERIFY2(r.out.contains(QStringLiteral("Hinweis: Der Tonträger war beim Export verliehen")),
                 qPrintable(r.out));
        Database db;
        db.open(dataset::databasePath(data));
        QCOMPARE(db.scalar(u"SELECT \"Status\" FROM MUSIKKOP").toDouble(), 1.0);
        QCOMPARE(db.scalar(u"SELECT \"Currency\" FROM MusikInformation").toInt(), 1);
    }

    void ambiguousKeyIsRefused() {
        const QString a =
            file(QStringLiteral("a.DKM"), "[Tontr\xE4ger]\r\nText 1=\"X\"\r\nText "
                                          "2=\"Eins\"\r\nTontr\xE4gerart=\"MC\"\r\nNummer=8\r\n");
        const QString b =
            file(QStringLiteral("b.DKM"), "[Tontr\xE4ger]\r\nText 1=\"Y\"\r\nText "
                                          "2=\"Zwei\"\r\nTontr\xE4gerart=\"MC\"\r\nNummer=8\r\n");
        QCOMPARE(runTool({"import", m_data, a, b}).exitCode, 0);
        const ProcessRun r =
            runTool({"export", m_data, "MC:8", m_dir.filePath(QStringLiteral("x.DKM"))});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QStringLiteral("mehrere Tonträger")), qPrintable(r.err));
        QVERIFY(r.err.contains(QStringLiteral("X / Eins")) &&
                r.err.contains(QStringLiteral("Y / Zwei")));
    }
};

QTEST_GUILESS_MAIN(TestMediaListCommands)
#include "tst_medialistcommands.moc"
