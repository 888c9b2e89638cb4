#include "database.h"

#include "germancollation.h"
#include "statementcache.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

Database::~Database() {
    close();
}

QString Database::busyText() {
    return QStringLiteral("Die Daten werden gerade von einem anderen Programm geändert. Bitte "
                          "versuchen Sie es gleich noch einmal.");
}

DbError Database::errorFor(sqlite3* db, int rc) {
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    const QString text = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    const auto german = [&](const char* sentence) {
        return QString::fromUtf8(sentence) + QStringLiteral(" (") + text + QLatin1Char(')');
    };
    if (extended == SQLITE_CONSTRAINT_PRIMARYKEY || extended == SQLITE_CONSTRAINT_UNIQUE)
        return DbError(DbError::Kind::KeyViolation, text, extended);
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DbError(DbError::Kind::Busy, busyText(), extended);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return DbError(DbError::Kind::NotADatabase,
                       german("Die Datenbank ist beschädigt oder keine Datenbank."), extended);
    case SQLITE_FULL:
        return DbError(DbError::Kind::Other,
                       german("Auf dem Datenträger ist nicht genug Platz; die Änderung wurde "
                              "nicht gespeichert."),
                       extended);
    case SQLITE_CANTOPEN:
        return DbError(DbError::Kind::Other,
                       german("Die Datenbankdatei oder ihr Ordner kann nicht geöffnet werden."),
                       extended);
    case SQLITE_READONLY:
        return DbError(DbError::Kind::Other,
                       german("Die Datenbank ist schreibgeschützt; die Änderung wurde nicht "
                              "gespeichert."),
                       extended);
    case SQLITE_IOERR:
        return DbError(DbError::Kind::Other,
                       german("Die Datenbank kann nicht gelesen oder geschrieben werden."),
                       extended);
    default:
        return DbError(DbError::Kind::Other, text, extended);
    }
}

void Database::open(const QString& path, OpenMode mode) {
    close();
    if (mode == OpenMode::ExistingOnly && !QFileInfo(path).isFile())
        throw DbError(DbError::Kind::Other,
                      QStringLiteral("Die Datenbank %1 ist nicht vorhanden.").arg(path));
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
    if (mode == OpenMode::CreateIfMissing)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const DbError error = errorFor(db, rc);
        sqlite3_close_v2(db);
        throw DbError(error.kind(),
                      QStringLiteral("Die Datenbank %1 kann nicht geöffnet werden: %2")
                          .arg(path, error.message()),
                      error.sqliteCode());
    }
    m_db = db;
    m_path = path;
    sqlite3_extended_result_codes(db, 1);
    // Another process's transaction is waited for this long before the user is told that
    // the data are busy: long enough for any single change, short enough not to freeze.
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // Every name is quoted here: a misspelt column must fail, not turn into a text constant.
    // Schemas already stored keep being read as they were.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    try {
        // Reading the catalogue is the first access to the file: a file that is no
        // database, or a damaged one, fails here and is left as it is.
        registerGermanCollation(db);
        exec(u"PRAGMA synchronous = FULL; SELECT count(*) FROM sqlite_schema;");
        // INSERT OR REPLACE then runs the delete triggers of the rows it replaces.
        exec(u"PRAGMA recursive_triggers = ON");
    } catch (const DbError& e) {
        close();
        // A file another process is writing is not damaged: that is said as it is.
        if (e.isBusy())
            throw;
        throw DbError(DbError::Kind::NotADatabase,
                      QStringLiteral("Die Datei %1 ist keine gültige Datenbank oder beschädigt: %2")
                          .arg(path, QString::fromUtf8(sqlite3_errstr(e.sqliteCode()))),
                      e.sqliteCode());
    }
}

void Database::close() {
    if (m_db) {
        statementcache::clear(m_db);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Database::exec(QStringView sql) {
    const QByteArray utf8 = sql.toUtf8();
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, utf8.constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throw errorFor(m_db, rc);
}

Statement Database::prepare(QStringView sql) {
    if (!m_db)
        throw DbError(DbError::Kind::Other, QStringLiteral("Die Datenbank ist nicht geöffnet."));
    return Statement(m_db, sql);
}

QVariant Database::scalar(QStringView sql) {
    Statement s = prepare(sql);
    return s.next() ? s.toVariant(0) : QVariant();
}

void Database::copyTo(const QString& target) {
    if (!m_db)
        throw DbError(DbError::Kind::Other, QStringLiteral("Die Datenbank ist nicht geöffnet."));
    QFile::remove(target);
    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(target).constData(), &copy,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    auto fail = [&](int code) {
        const DbError error = errorFor(copy, code);
        sqlite3_close_v2(copy);
        QFile::remove(target);
        throw error;
    };
    if (rc != SQLITE_OK)
        fail(rc);
    // The copy is thrown away when anything fails, so it needs no journal of its own.
    rc = sqlite3_exec(copy, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF", nullptr, nullptr,
                      nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
    sqlite3_backup* backup = sqlite3_backup_init(copy, "main", m_db, "main");
    if (!backup)
        fail(sqlite3_errcode(copy));
    // All pages in one step, under one read lock of the source: a writer that is just
    // committing is waited for a while, as the busy timeout waits elsewhere.
    for (int attempt = 0;; ++attempt) {
        rc = sqlite3_backup_step(backup, -1);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || attempt >= 100)
            break;
        sqlite3_sleep(50);
    }
    const int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        fail(rc == SQLITE_OK ? finished : rc);
    if (finished != SQLITE_OK)
        fail(finished);
    rc = sqlite3_close(copy);
    copy = nullptr;
    if (rc != SQLITE_OK) {
        QFile::remove(target);
        throw errorFor(nullptr, rc);
    }
}

void Database::stopWhen(const std::atomic<bool>* flag) {
    if (!m_db)
        return;
    if (!flag) {
        sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        return;
    }
    sqlite3_progress_handler(
        m_db, 10000,
        [](void* stop) -> int { return static_cast<const std::atomic<bool>*>(stop)->load(); },
        const_cast<std::atomic<bool>*>(flag));
}

int Database::changes() const {
    return sqlite3_changes(m_db);
}

bool Database::inTransaction() const {
    return m_db && !sqlite3_get_autocommit(m_db);
}

Transaction::Transaction(Database& db) : m_db(db) {
    m_db.exec(u"BEGIN IMMEDIATE");
    m_db.notifier().holdNotices(true);
}

Transaction::~Transaction() {
    if (!m_done && m_db.isOpen()) {
        try {
            m_db.exec(u"ROLLBACK");
        } catch (const DbError&) {
            // SQLite may have rolled back on its own already.
        }
    }
    if (!m_done)
        m_db.notifier().dropHeld();
}

void Transaction::commit() {
    m_db.exec(u"COMMIT");
    m_done = true;
    m_db.notifier().releaseHeld();
}
