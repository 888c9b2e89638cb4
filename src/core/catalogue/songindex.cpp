#include "songindex.h"

#include "core/db/schema.h"

namespace songindex {

bool isUsable(Database& db) {
    Statement s = db.prepare(
        u"SELECT (SELECT COUNT(*) FROM sqlite_schema WHERE type = 'table' AND name = ?1) + "
        u"(SELECT COUNT(*) FROM sqlite_schema WHERE type = 'trigger' AND tbl_name = 'MUSIKPOS' "
        u"AND name LIKE ?1 || '%')");
    s.bind(1, kTable);
    return s.next() && s.toInt64(0) == 4;
}

bool covers(const QString& target) {
    return target == QLatin1String("MUSIKPOS.\"Titel des Liedes\"") ||
           target == QLatin1String("MUSIKPOS.\"Interpret des Liedes\"");
}

bool canNarrow(const QString& value) {
    return value.toUcs4().size() >= 3;
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
