// diskarium-tool search, run as the user runs it: output, --count and exit codes.
#include "../core/catalogue/searchfixture.h"
#include "core/catalogue/medialistmodel.h"
#include "core/catalogue/searchcondition.h"
#include "core/catalogue/searchtranslation.h"
#include "core/catalogue/songlistmodel.h"
#include "core/db/dataset.h"
#include "core/db/songindex.h"
#include "support/processrun.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

class TestSearchTool : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_data;

    ProcessRun search(const QStringList& args) {
        return runTool(QStringList{QStringLiteral("search"), m_data} + args);
    }

    // The lines a search window shows, read page by page as a view scrolls, in the tool's
    // format; count: the number the window's count delivers.
    template <class Model, class Query>
    static QStringList windowLines(Database& db, search::Kind kind, const QString& condition,
                                   qint64* count) {
        const auto conditions = search::parseConditions(kind, {condition}, nullptr);
        if (!conditions)
            return {QStringLiteral("unreadable condition")};
        search::TranslateOptions options;
        options.songIndex = kind == search::Kind::Songs && songindex::isUsable(db);
        Model model;
        model.setPageSize(20);
        model.setQuery(
            std::make_unique<Query>(db, QString(), search::translate(kind, *conditions, options)));
        while (model.canFetchMore({}))
            model.fetchMore({});
        *count = model.query()->count();
        QStringList lines;
        for (int i = 0; i < model.rowCount(); ++i) {
            const auto* row = model.rowAt(i);
            if (!row)
                return {QStringLiteral("row %1 unreadable").arg(i)};
            QStringList cells;
            for (int c = 0; c < model.columnCount(); ++c)
                cells.append(model.data(model.index(i, c), Qt::DisplayRole).toString());
            cells.prepend(QString::number(qint64(model.carrierNumberAt(i))));
            lines.append(cells.join(QLatin1Char('\t')));
        }
        return lines;
    }

private slots:
    void initTestCase() {
        m_data = m_dir.filePath(QStringLiteral("daten"));
        dataset::create(m_data);
        Database db;
        db.open(dataset::databasePath(m_data));
        searchfixture::fill(db);
    }

    void carriers() {
        const ProcessRun r = search({"carriers", "gruppe:~:BEAT", "UND", "Kaufpreis:>:5"});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith(QStringLiteral("Tonträgernummer\tGruppe\tTitel\tArt\t")));
        QVERIFY2(lines[1].startsWith(QStringLiteral("1\tThe Beatles\tHelp!\tLP\t5\t14\t34,20\t")),
                 qPrintable(lines[1]));
    }

    void songs() {
        const ProcessRun r = search({"songs", "Titel:~:love", "ODER", "Interpret:=:Ärzte"});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines[0].startsWith(QStringLiteral("Tonträgernummer\tSeite der Schallplatte\t")));
        // Default order: group, so BEAT CLUB before Die Ärzte before The Beatles.
        QVERIFY2(lines[1].startsWith(QStringLiteral("2\t1\t1\tLovely\tBeat\t3,00\tPop\t")),
                 qPrintable(lines[1]));
        QVERIFY(lines[2].startsWith(QStringLiteral("3\t1\t1\tMänner\t")));
        QVERIFY(lines[4].endsWith(QStringLiteral("\tThe Beatles\tHelp!\tLP\t5")));
    }

    // The search windows, read page by page, show what the tool lists, in the same order and
    // number, on a generated collection larger than a page.
    void windowsShowWhatTheToolLists_data() {
        QTest::addColumn<bool>("songs");
        QTest::addColumn<QString>("condition");
        QTest::newRow("songs contain") << true << "Titel:~:liebe";
        QTest::newRow("songs contain, umlaut") << true << "Interpret:~:ärzte";
        QTest::newRow("songs, short text") << true << "Titel:~:ie";
        QTest::newRow("carriers contain") << false << "Titel:~:e";
        QTest::newRow("carriers, comparison") << false << "Kaufpreis:>:2";
    }
    void windowsShowWhatTheToolLists() {
        QFETCH(bool, songs);
        QFETCH(QString, condition);
        static QTemporaryDir dir;
        static const QString data = dir.filePath(QStringLiteral("generiert"));
        if (!QFileInfo::exists(dataset::databasePath(data))) {
            dataset::create(data);
            Database db;
            db.open(dataset::databasePath(data));
            Transaction t(db);
            QRandomGenerator rng(29);
            const QStringList groups = {"Abba",  "Ärzte", "ärzte", "Öl",
                                        "Zappa", "",      "Ober",  "abba"};
            const QStringList words = {"Liebe", "LIEBE", "liebe", "Nacht", "Sie", "Über", "ß"};
            const QVariant none;
            for (int c = 1; c <= 120; ++c) {
                searchfixture::carrier(db,
                                       {c, groups[int(rng.bounded(groups.size()))],
                                        words[int(rng.bounded(7))], 1 + int(rng.bounded(2)), c,
                                        "2000", 1, 10, 1.0, 1, double(rng.bounded(5)), none, 0});
                for (int n = 1; n <= 10; ++n)
                    searchfixture::song(
                        db,
                        {c, 1, n,
                         words[int(rng.bounded(7))] + QLatin1Char(' ') + words[int(rng.bounded(7))],
                         groups[int(rng.bounded(groups.size()))], 1.0, 1, 0, 1, 1, "2000"});
            }
            t.commit();
        }
        Database db;
        db.open(dataset::databasePath(data));
        const ProcessRun tool = runTool({"search", data, songs ? "songs" : "carriers", condition});
        QCOMPARE(tool.exitCode, 0);
        QStringList expected = tool.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        expected.removeFirst(); // the titles
        QVERIFY2(expected.size() > 40, "more than two pages");
        qint64 count = 0;
        const QStringList shown = songs ? windowLines<SongListModel, songlist::Query>(
                                              db, search::Kind::Songs, condition, &count)
                                        : windowLines<MediaListModel, medialist::Query>(
                                              db, search::Kind::Carriers, condition, &count);
        QCOMPARE(shown, expected);
        QCOMPARE(count, qint64(expected.size()));
    }

    void exitCodes_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("count") << QStringList{"songs", "--count", "Nr. des Liedes:=:1"} << 0
                               << "3\n"
                               << "";
        QTest::newRow("song time as minutes:seconds")
            << QStringList{"songs", "--count", "Laufzeit:=:3:00"} << 0 << "1\n"
            << "";
        QTest::newRow("total time seconds over 59")
            << QStringList{"carriers", "Gesamtlaufzeit:>:3:75"} << 2 << ""
            << "Gesamtlaufzeit: Der Sekundenwert der Gesamtlaufzeit";
        QTest::newRow("price with colon") << QStringList{"carriers", "Kaufpreis:=:3:45"} << 2 << ""
                                          << "keine Zahl";
        QTest::newRow("side as letter")
            << QStringList{"songs", "--count", "Seite der Schallplatte:=:a"} << 0 << "4\n"
            << "";
        QTest::newRow("nothing found") << QStringList{"carriers", "Gruppe:=:nobody"} << 1 << ""
                                       << "Es wurden keine Daten gefunden!";
        QTest::newRow("count of nothing")
            << QStringList{"carriers", "--count", "Gruppe:=:x"} << 1 << "0\n"
            << "Es wurden keine Daten gefunden!";
        QTest::newRow("unknown field") << QStringList{"songs", "Farbe:=:rot"} << 2 << ""
                                       << "Gültige Felder: Titel, Interpret, Laufzeit";
        QTest::newRow("bad date") << QStringList{"carriers", "Kaufdatum:=:31.02.2001"} << 2 << ""
                                  << "kein gültiges Datum";
        QTest::newRow("bad kind") << QStringList{"borrowers", "Name:=:x"} << 2 << ""
                                  << "Aufruf";
        QTest::newRow("no condition") << QStringList{"songs"} << 2 << ""
                                      << "Aufruf";
        QTest::newRow("count and csv")
            << QStringList{"carriers", "--count", "--csv", "Gruppe:=:x"} << 2 << ""
            << "Aufruf";
    }
    void exitCodes() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const ProcessRun r = search(args);
        QCOMPARE(r.exitCode, code);
        QCOMPARE(r.out, out);
        QVERIFY2(r.err.contains(err), qPrintable(r.err));
    }

    // CSV: the same hits under the list's titles, without the carrier number column; no hit
    // still gives the title row.
    void csvOutput() {
        const ProcessRun tabs = search({"songs", "Nr. des Liedes:=:1"});
        const ProcessRun csv = search({"songs", "--csv", "Nr. des Liedes:=:1"});
        QCOMPARE(csv.exitCode, 0);
        QString expected; // reading as UTF-8 drops the byte order mark
        for (const QString& line : tabs.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            expected += line.section(QLatin1Char('\t'), 1).replace(QLatin1Char('\t'), u';') +
                        QStringLiteral("\r\n");
        QCOMPARE(csv.out, expected);
        const ProcessRun none = search({"carriers", "--csv", "Gruppe:=:x"});
        QCOMPARE(none.exitCode, 0);
        QVERIFY2(none.out.startsWith(QStringLiteral("Gruppe;Titel;")), qPrintable(none.out));
        QCOMPARE(none.out.count(QStringLiteral("\r\n")), 1);
    }

    void missingDataSet() {
        QCOMPARE(runTool({"search", m_dir.filePath(QStringLiteral("leer")), "songs", "Titel:~:x"})
                     .exitCode,
                 2);
    }
};

QTEST_GUILESS_MAIN(TestSearchTool)
#include "tst_searchtool.moc"
