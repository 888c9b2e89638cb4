#include "songindex.h"

#include "schema.h"

#include <QStringList>

namespace songindex {
namespace {

const char* const kTriggers[] = {"Suchindex_Lieder_neu", "Suchindex_Lieder_weg",
                                 "Suchindex_Lieder_neu_geschrieben"};

void dropAll(Database& db) {
    for (const char* trigger : kTriggers)
        db.exec(QStringLiteral("DROP TRIGGER IF EXISTS %1")
                    .arg(schema::quoted(QString::fromLatin1(trigger))));
    db.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(schema::quoted(kTable)));
}

// All or nothing, also inside a transaction that is already open (a new data set).
class Savepoint {
public:
    explicit Savepoint(Database& db) : m_db(db) { m_db.exec(u"SAVEPOINT songindex"); }
    ~Savepoint() {
        if (m_done || !m_db.isOpen())
            return;
        try {
            m_db.exec(u"ROLLBACK TO songindex; RELEASE songindex");
        } catch (const DbError&) {
            // SQLite may have rolled back on its own already.
        }
    }
    void release() {
        m_db.exec(u"RELEASE songindex");
        m_done = true;
    }

private:
    Database& m_db;
    bool m_done = false;
};

} // namespace

bool isUsable(Database& db) {
    Statement s = db.prepare(
        u"SELECT (SELECT COUNT(*) FROM sqlite_schema WHERE type = 'table' AND name = ?1) + "
        u"(SELECT COUNT(*) FROM sqlite_schema WHERE type = 'trigger' AND "
        u"tbl_name = 'MUSIKPOS' COLLATE NOCASE AND name IN (?2, ?3, ?4))");
    s.bind(1, kTable);
    for (int i = 0; i < 3; ++i)
        s.bind(i + 2, QString::fromLatin1(kTriggers[i]));
    return s.next() && s.toInt64(0) == 4;
}

void drop(Database& db) {
    Savepoint savepoint(db);
    dropAll(db);
    savepoint.release();
}

void rebuild(Database& db) {
    const QString t = schema::quoted(kTable);
    const QString insert =
        QStringLiteral("INSERT INTO %1 (rowid, titel, interpret) VALUES (new.rowid, "
                       "new.\"Titel des Liedes\", new.\"Interpret des Liedes\");")
            .arg(t);
    const QString remove =
        QStringLiteral("INSERT INTO %1 (%1, rowid, titel, interpret) VALUES ('delete', "
                       "old.rowid, old.\"Titel des Liedes\", old.\"Interpret des Liedes\");")
            .arg(t);
    Savepoint savepoint(db);
    dropAll(db);
    // Contentless and without positions or sizes: candidates are all the searches need.
    db.exec(QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(titel, interpret, content='', "
                           "detail=none, columnsize=0, tokenize='trigram')")
                .arg(t));
    db.exec(QStringLiteral("INSERT INTO %1 (rowid, titel, interpret) SELECT rowid, "
                           "\"Titel des Liedes\", \"Interpret des Liedes\" FROM \"MUSIKPOS\"")
                .arg(t));
    db.exec(QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON \"MUSIKPOS\" BEGIN %2 END")
                .arg(schema::quoted(QString::fromLatin1(kTriggers[0])), insert));
    db.exec(QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON \"MUSIKPOS\" BEGIN %2 END")
                .arg(schema::quoted(QString::fromLatin1(kTriggers[1])), remove));
    db.exec(QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE ON \"MUSIKPOS\" BEGIN %2 %3 END")
                .arg(schema::quoted(QString::fromLatin1(kTriggers[2])), remove, insert));
    savepoint.release();
}

bool covers(const QString& target) {
    return target == QLatin1String("MUSIKPOS.\"Titel des Liedes\"") ||
           target == QLatin1String("MUSIKPOS.\"Interpret des Liedes\"");
}

bool canNarrow(const QString& value) {
    // MATCH reads its text only up to a zero character.
    return !value.contains(QChar(0)) && value.toLower().toUcs4().size() >= 3;
}

QString candidatesCondition() {
    const QString t = schema::quoted(kTable);
    return QStringLiteral("MUSIKPOS.rowid IN ( SELECT rowid FROM %1 WHERE %1 MATCH ? )").arg(t);
}

QString matchExpression(const QString& value) {
    const QList<uint> text = value.toLower().toUcs4();
    QStringList tokens;
    for (qsizetype i = 0; i + 3 <= text.size(); ++i) {
        QString token =
            QString::fromUcs4(reinterpret_cast<const char32_t*>(text.constData() + i), 3);
        token.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        token = QLatin1Char('"') + token + QLatin1Char('"');
        if (!tokens.contains(token))
            tokens.append(token);
    }
    return tokens.join(QLatin1Char(' '));
}

} // namespace songindex
