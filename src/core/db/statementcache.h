#pragma once

#include <QByteArray>

struct sqlite3;
struct sqlite3_stmt;

// Prepared statements kept per connection for reuse: preparing an INSERT or a SELECT costs
// more than running it, and stores run the same few statements for every record. A
// statement comes back when its Statement ends (reset, bindings cleared) and serves the next
// Statement of the same SQL text on the same connection.
namespace statementcache {

// A kept statement of this text on db, ready as if just prepared; nullptr when none is kept.
sqlite3_stmt* take(sqlite3* db, const QByteArray& sql);
// Hands a statement back; beyond a limit per connection it is finalized instead.
void give(sqlite3* db, sqlite3_stmt* stmt);
// Finalizes everything kept for db; before the connection closes.
void clear(sqlite3* db);

} // namespace statementcache
