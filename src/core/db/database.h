#pragma once

#include "changenotifier.h"
#include "dberror.h"
#include "statement.h"

#include <QString>
#include <atomic>

// The one SQLite file that holds every table. Opened by the main window for the program's
// run; backup and restore close it and open it again. Every statement outside a
// Transaction is its own durable transaction.
class Database {
public:
    static constexpr auto kFileName = "WinDsKm.db";

    enum class OpenMode { ExistingOnly, CreateIfMissing };

    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Throws DbError (NotADatabase for a file that is no database or is damaged). A file
    // that cannot be opened is never replaced.
    void open(const QString& path, OpenMode mode = OpenMode::ExistingOnly);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    const QString& path() const { return m_path; }

    // Runs one or more statements without parameters.
    void exec(QStringView sql);
    Statement prepare(QStringView sql);
    // The first column of the first row, or an invalid QVariant when there is no row.
    QVariant scalar(QStringView sql);
    int changes() const;
    bool inTransaction() const;

    // Writes a consistent copy of the whole database into a new file through SQLite's
    // online backup: other connections may write meanwhile, the copy shows one committed
    // state. An existing file at target is replaced. Throws DbError.
    void copyTo(const QString& target);

    // Long statements end early with an error once the flag is set (from any thread); null
    // removes it.
    void stopWhen(const std::atomic<bool>* flag);

    sqlite3* handle() const { return m_db; }

    // Stores announce their committed changes here; windows listen.
    ChangeNotifier& notifier() { return m_notifier; }

    // Builds the DbError for a failed call: key violations apart, SQLite's text kept.
    static DbError errorFor(sqlite3* db, int rc);
    // What a busy database tells the user.
    static QString busyText();
    static constexpr int kBusyTimeoutMs = 3000;

private:
    sqlite3* m_db = nullptr;
    QString m_path;
    ChangeNotifier m_notifier;
};

// All or nothing for a change that spans several tables. Rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& m_db;
    bool m_done = false;
};
