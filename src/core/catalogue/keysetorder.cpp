#include "keysetorder.h"

#include <QStringList>

namespace keysetorder {

QString orderBy(const std::vector<Key>& keys, bool descending) {
    QStringList parts;
    for (const Key& k : keys)
        parts.append(descending ? k.expression + QStringLiteral(" DESC") : k.expression);
    return QStringLiteral(" ORDER BY ") + parts.join(u", ");
}

QString beyond(const std::vector<Key>& keys, const ValueOf& row, bool after, QVariantList& values) {
    QVariantList own;
    QString sql;
    QString close;
    for (size_t i = 0; i < keys.size(); ++i) {
        const Key& k = keys[i];
        const QVariant v = row(k.column);
        const bool null = !v.isValid() || v.isNull();
        QString step;
        if (after) {
            step = null ? k.expression + QStringLiteral(" IS NOT NULL")
                        : k.expression + QStringLiteral(" > ?");
        } else {
            step = null ? QStringLiteral("0")
                        : QStringLiteral("(") + k.expression + QStringLiteral(" IS NULL OR ") +
                              k.expression + QStringLiteral(" < ?)");
        }
        if (!null)
            own.append(v);
        if (i + 1 == keys.size()) {
            sql += step;
            break;
        }
        sql += QStringLiteral("(") + step + QStringLiteral(" OR (");
        sql += null ? k.expression + QStringLiteral(" IS NULL AND ")
                    : k.expression + QStringLiteral(" = ? AND ");
        if (!null)
            own.append(v);
        close += QStringLiteral("))");
    }
    sql += close;
    // A leading range on the first key lets an index seek.
    const QVariant first = row(keys.front().column);
    if (first.isValid() && !first.isNull()) {
        const QString& e = keys.front().expression;
        own.prepend(first);
        sql = (after ? e + QStringLiteral(" >= ? AND ")
                     : QStringLiteral("(") + e + QStringLiteral(" IS NULL OR ") + e +
                           QStringLiteral(" <= ?) AND ")) +
              QStringLiteral("(") + sql + QStringLiteral(")");
    }
    values.append(own);
    return sql;
}

} // namespace keysetorder
