#pragma once

#include "core/db/database.h"

#include <QString>
#include <optional>

// A trigram index over song titles and interpreters that narrows "contains" searches. It is
// derived data: every candidate it yields is checked by the same comparison as without it,
// so it never changes a result, only how fast it comes.
namespace songindex {

// The index's own table; its name sets it apart from the tables of the data set.
inline const QString kTable = QStringLiteral("Suchindex_Lieder");

// The index column for a compared song column ("titel", "interpret"), if it covers it.
std::optional<QString> columnFor(const QString& target);
// The index finds only texts of three characters or more.
bool canNarrow(const QString& value);
// "MUSIKPOS.rowid IN ( SELECT rowid FROM ... MATCH ? )".
QString candidatesCondition();
// The bound MATCH text: the value as one quoted phrase within its column.
QString matchExpression(const QString& column, const QString& value);

} // namespace songindex
