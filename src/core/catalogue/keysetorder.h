#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <vector>

// Reading a sorted list in pieces without OFFSET: the rows after (or before) a given row are
// those whose sort keys compare beyond its keys. The last key must make the order total.
namespace keysetorder {

struct Key {
    QString expression; // SQL, with its collation where it has one
    int column;         // where the row holds the key's value
};

using ValueOf = std::function<QVariant(int column)>;

// "ORDER BY a, b, ..." (or every key descending, the reverse order).
QString orderBy(const std::vector<Key>& keys, bool descending = false);
// A condition for the rows that sort after (before) the row; its values are appended. Empty
// values sort first, as SQLite sorts NULL ascending.
QString beyond(const std::vector<Key>& keys, const ValueOf& row, bool after, QVariantList& values);

} // namespace keysetorder
