#include "songindex.h"

#include "core/db/schema.h"

namespace songindex {

std::optional<QString> columnFor(const QString& target) {
    if (target == QLatin1String("MUSIKPOS.\"Titel des Liedes\""))
        return QStringLiteral("titel");
    if (target == QLatin1String("MUSIKPOS.\"Interpret des Liedes\""))
        return QStringLiteral("interpret");
    return std::nullopt;
}

bool canNarrow(const QString& value) {
    return value.toUcs4().size() >= 3;
}

QString candidatesCondition() {
    const QString t = schema::quoted(kTable);
    return QStringLiteral("MUSIKPOS.rowid IN ( SELECT rowid FROM %1 WHERE %1 MATCH ? )").arg(t);
}

QString matchExpression(const QString& column, const QString& value) {
    QString phrase = value.toLower();
    phrase.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return column + QStringLiteral(" : \"") + phrase + QLatin1Char('"');
}

} // namespace songindex
