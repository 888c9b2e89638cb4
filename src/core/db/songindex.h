#pragma once

#include "database.h"

#include <QString>

// A trigram index over song titles and interpreters that narrows "contains" searches. It is
// derived data: every candidate it yields is checked by the same comparison as without it,
// so it never changes a result, only how fast it comes. Triggers in plain SQL keep it in step
// with every change of MUSIKPOS, whichever program makes it.
namespace songindex {

// The index's own table; the prefix sets it and its shadow tables apart from the data set's
// tables.
inline const QString kTable = QStringLiteral("Suchindex_Lieder");
inline const QString kPrefix = QStringLiteral("Suchindex_");

// True when the index is there with the triggers that keep it in step; without them the
// searches compare every song.
bool isUsable(Database& db);
// Drops the index and its triggers and builds both anew from MUSIKPOS, in one transaction.
// Throws DbError (the old state stays).
void rebuild(Database& db);
// Drops index and triggers; the searches then compare every song.
void drop(Database& db);

// True when the index covers the compared column (title or interpreter).
bool covers(const QString& target);
// The index finds only texts of three characters or more, without a zero character.
bool canNarrow(const QString& value);
// "MUSIKPOS.rowid IN ( SELECT rowid FROM ... MATCH ? )".
QString candidatesCondition();
// The bound MATCH text: every three characters of the value in lower case, each quoted, all
// required. The index keeps no positions, so it finds rows holding all of them anywhere in
// title or interpreter; the comparison afterwards decides.
QString matchExpression(const QString& value);

} // namespace songindex
