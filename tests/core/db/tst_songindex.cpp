// The song search index only narrows: with and without it a "contains" search finds the same
// songs, after every kind of change to the songs and after the index is built anew.
#include "../catalogue/searchfixture.h"
#include "core/catalogue/searchtranslation.h"
#include "core/catalogue/songlist.h"
#include "core/db/dataset.h"
#include "core/db/songindex.h"
#include "core/db/startupchecks.h"
#include "support/scriptedmessageservice.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace search;

namespace {

const QStringList kWords = {"Liebe",  "LIEBE", "liebe",      "Ärzte", "ÄRZTE",     "größe",
                            "Straße", "100%",  "a_b",        "x\\y",  "\"Zitat\"", "O'Neil",
                            "Éclair", "Nacht", "NACHT lied", "li",    "ß"};

QString phrase(QRandomGenerator& rng) {
    QStringList words;
    for (int i = 0, n = 1 + int(rng.bounded(3)); i < n; ++i)
        words.append(kWords[int(rng.bounded(kWords.size()))]);
    return words.join(QLatin1Char(' '));
}

} // namespace

class TestSongIndex : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Database m_db;
    int m_next = 1;

    void addSongs(int count, QRandomGenerator& rng) {
        for (int i = 0; i < count; ++i, ++m_next)
            searchfixture::song(
                m_db, {1 + m_next % 4, 1, m_next, phrase(rng), phrase(rng), 1.0, 1, 0, 0, 0, ""});
    }
    QStringList found(const QString& field, const QString& value, bool index) {
        Condition c;
        c.field = field;
        c.op = QStringLiteral("~");
        c.value = value;
        TranslateOptions options;
        options.songIndex = index;
        const medialist::Filter filter = translate(Kind::Songs, {c}, options);
        if (index && songindex::canNarrow(value))
            Q_ASSERT(filter.sql.contains(QLatin1String("MATCH")));
        QStringList keys;
        for (const songlist::Row& r : songlist::Query(m_db, {}, filter).rows(0, 100000))
            keys.append(QString::number(r[songlist::Position].toInt()) + QLatin1Char('/') +
                        QString::number(r[songlist::SongNumber].toInt()));
        return keys;
    }
    void compareAll() {
        QVERIFY(songindex::isUsable(m_db));
        QStringList patterns = {"liebe", "LIEBE", "ärzte", "größe", "straße", "nacht lied",
                                "e l",   "li",    "ä",     "xyzzy", "100%",   "_b",
                                "\\",    "\"zit", "o'n",   "éclair"};
        patterns.append(QString::fromUtf8("lie\0be", 6)); // a zero character ends MATCH text
        for (const QString& field : {QStringLiteral("Titel"), QStringLiteral("Interpret")}) {
            for (const QString& p : patterns) {
                const QStringList scan = found(field, p, false);
                QCOMPARE(found(field, p, true), scan);
            }
        }
        QVERIFY(!found(QStringLiteral("Titel"), QStringLiteral("liebe"), true).isEmpty());
    }

private slots:
    void initTestCase() {
        dataset::create(m_dir.path());
        m_db.open(dataset::databasePath(m_dir.path()));
        searchfixture::fill(m_db); // carriers 1 to 4 are listed
        m_db.exec(u"DELETE FROM MUSIKPOS");
    }

    void indexEqualsScan() {
        QRandomGenerator rng(5);
        QVERIFY(songindex::isUsable(m_db)); // a new data set has it
        addSongs(300, rng);
        compareAll();

        // Changes, each kind through the triggers.
        m_db.exec(u"UPDATE MUSIKPOS SET \"Titel des Liedes\" = UPPER(\"Titel des Liedes\") "
                  u"WHERE \"Nr. des Liedes\" % 3 = 0");
        m_db.exec(u"UPDATE MUSIKPOS SET \"Interpret des Liedes\" = 'Neue Liebe' "
                  u"WHERE \"Nr. des Liedes\" % 5 = 0");
        compareAll();
        m_db.exec(u"DELETE FROM MUSIKPOS WHERE \"Nr. des Liedes\" % 7 = 0");
        compareAll();
        searchfixture::run(m_db,
                           QStringLiteral("INSERT OR REPLACE INTO MUSIKPOS (\"Folgenummer "
                                          "Position\", \"Seite der Schallplatte\", \"Nr. des "
                                          "Liedes\", \"Titel des Liedes\", \"Interpret des "
                                          "Liedes\", \"Musikrichtung\") VALUES (?, 1, ?, ?, ?, 1)"),
                           {2, 10, "Ohne Worte", "Niemand"});
        QVERIFY(found(QStringLiteral("Titel"), QStringLiteral("ohne worte"), true).size() == 1);
        compareAll();
        addSongs(50, rng);
        compareAll();

        // Built anew on request ("REINDEX", check --reindex).
        ScriptedMessageService messages;
        QVERIFY(startupchecks::checkAndRebuildIndexes(m_db, true, messages));
        compareAll();

        // A song table rebuilt with its key gets new row numbers and loses its triggers.
        m_db.exec(u"CREATE TABLE songs_copy AS SELECT * FROM MUSIKPOS; DROP TABLE MUSIKPOS; "
                  u"ALTER TABLE songs_copy RENAME TO MUSIKPOS");
        m_db.exec(u"DELETE FROM MUSIKPOS WHERE rowid IN (SELECT rowid FROM MUSIKPOS LIMIT 40); "
                  u"VACUUM");
        QVERIFY(!songindex::isUsable(m_db));
        QVERIFY(startupchecks::checkAndRebuildIndexes(m_db, false, messages));
        QVERIFY(messages.messages().isEmpty());
        compareAll();

        // Without the index (an older file) the scan answers alone; the check builds it again.
        songindex::drop(m_db);
        QVERIFY(!songindex::isUsable(m_db));
        QVERIFY(!found(QStringLiteral("Titel"), QStringLiteral("liebe"), false).isEmpty());
        QVERIFY(startupchecks::checkAndRebuildIndexes(m_db, false, messages));
        compareAll();
    }

    void matchText() {
        QCOMPARE(songindex::matchExpression(QStringLiteral("Liebe")),
                 QStringLiteral("\"lie\" \"ieb\" \"ebe\""));
        QCOMPARE(songindex::matchExpression(QStringLiteral("a\"b\"a\"b")),
                 QStringLiteral("\"a\"\"b\" \"\"\"b\"\"\" \"b\"\"a\" \"\"\"a\"\"\""));
        QVERIFY(!songindex::canNarrow(QStringLiteral("ab")));
        QVERIFY(songindex::canNarrow(QStringLiteral("äöü")));
    }
};

QTEST_GUILESS_MAIN(TestSongIndex)
#include "tst_songindex.moc"
