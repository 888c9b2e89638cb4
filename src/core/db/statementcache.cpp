#include "statementcache.h"

#include <QHash>
#include <QList>
#include <mutex>
#include <sqlite3.h>
#include <unordered_map>

namespace statementcache {
namespace {

constexpr int kMaxKept = 256; // per connection; enough for every statement of a store

struct Kept {
    QHash<QByteArray, QList<sqlite3_stmt*>> bySql;
    int count = 0;
};

// Connections may live on other threads (a backup's copy); each uses its own entry.
std::mutex& guard() {
    static std::mutex m;
    return m;
}
std::unordered_map<sqlite3*, Kept>& connections() {
    static std::unordered_map<sqlite3*, Kept> c;
    return c;
}

} // namespace

sqlite3_stmt* take(sqlite3* db, const QByteArray& sql) {
    const std::lock_guard lock(guard());
    const auto c = connections().find(db);
    if (c == connections().end())
        return nullptr;
    const auto it = c->second.bySql.find(sql);
    if (it == c->second.bySql.end() || it->isEmpty())
        return nullptr;
    --c->second.count;
    return it->takeLast();
}

void give(sqlite3* db, sqlite3_stmt* stmt) {
    if (!stmt)
        return;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    {
        const std::lock_guard lock(guard());
        Kept& kept = connections()[db];
        if (kept.count < kMaxKept) {
            kept.bySql[QByteArray(sqlite3_sql(stmt))].append(stmt);
            ++kept.count;
            return;
        }
    }
    sqlite3_finalize(stmt);
}

void clear(sqlite3* db) {
    Kept kept;
    {
        const std::lock_guard lock(guard());
        const auto c = connections().find(db);
        if (c == connections().end())
            return;
        kept = std::move(c->second);
        connections().erase(c);
    }
    for (const QList<sqlite3_stmt*>& list : kept.bySql)
        for (sqlite3_stmt* stmt : list)
            sqlite3_finalize(stmt);
}

} // namespace statementcache
