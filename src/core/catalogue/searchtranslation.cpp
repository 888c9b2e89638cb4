#include "searchtranslation.h"

#include "core/common/germanformat.h"
#include "core/db/schema.h"
#include "core/db/songindex.h"

#include <QtMath>
#include <stdexcept>

namespace search {
namespace {

const QString kEscape = QStringLiteral(" ESCAPE '\\'");

QString prefix(Connector c) {
    switch (c) {
    case Connector::And:
        return QStringLiteral("AND ( ");
    case Connector::Or:
        return QStringLiteral("OR ( ");
    case Connector::None:
        break;
    }
    return QStringLiteral("( ");
}

QString sqlOperator(const QString& op) {
    if (op == QLatin1String("~"))
        return QStringLiteral(" LIKE ");
    if (op == QLatin1String("=") || op == QLatin1String("<>") || op == QLatin1String("<") ||
        op == QLatin1String(">"))
        return QLatin1Char(' ') + op + QLatin1Char(' ');
    throw std::invalid_argument("unknown search operator");
}

bool isAscii(const QString& s) {
    for (const QChar ch : s) {
        if (ch.unicode() >= 0x80)
            return false;
    }
    return true;
}

qsizetype characters(const QString& s) {
    return s.toUcs4().size();
}

// Lookup field: the numbers of the entries whose short or long name matches. For "<>" the
// entries where neither name equals the value.
QString lookupCondition(const Field& f, const Condition& c, QVariantList& values) {
    const Lookup& l = *f.lookup;
    const QString shortName = l.table + QLatin1Char('.') + schema::quoted(l.shortName);
    const QString longName = l.table + QLatin1Char('.') + schema::quoted(l.longName);
    QString where;
    if (c.op == QLatin1String("~")) {
        where = QStringLiteral("LOWER( %1 ) LIKE ?%3 OR LOWER( %2 ) LIKE ?%3")
                    .arg(shortName, longName, kEscape);
        values << containsPattern(c.value) << containsPattern(c.value);
    } else if (c.op == QLatin1String("<>")) {
        where = QStringLiteral("NOT ( %1 IS ? OR %2 IS ? )").arg(shortName, longName);
        values << c.value << c.value;
    } else {
        where = QStringLiteral("%1 %3 ? OR %2 %3 ?").arg(shortName, longName, c.op);
        values << c.value << c.value;
    }
    return f.target +
           QStringLiteral(" IN ( SELECT %1.%2 FROM %3 %1 WHERE %4 )")
               .arg(l.table, schema::quoted(l.numberName), schema::quoted(l.table), where);
}

QString textCondition(const Field& f, const Condition& c, const TranslateOptions& options,
                      QVariantList& values) {
    if (c.op != QLatin1String("~")) {
        values << c.value;
        return f.target + sqlOperator(c.op) + QLatin1Char('?');
    }
    // SQLite's LIKE folds ASCII letters itself; only a value with other letters needs the
    // column folded by LOWER(), which costs far more per row.
    const QString side = f.foldCase && !isAscii(c.value)
                             ? QStringLiteral("LOWER( ") + f.target + QStringLiteral(" )")
                             : f.target;
    QString sql;
    if (options.songIndex) {
        if (songindex::covers(f.target) && songindex::canNarrow(c.value)) {
            sql = songindex::candidatesCondition() + QStringLiteral(" AND ");
            values << songindex::matchExpression(c.value);
        }
    }
    values << containsPattern(c.value);
    return sql + side + QStringLiteral(" LIKE ?") + kEscape;
}

QString conditionSql(Kind kind, const Condition& c, const TranslateOptions& options,
                     QVariantList& values) {
    const Field* f = findField(kind, c.field);
    if (!f)
        throw std::invalid_argument("unknown search field");
    if (!operators(f->valueClass).contains(c.op))
        throw std::invalid_argument("operator not offered for the field");
    const QString open = prefix(c.connector);
    // A text longer than its column is never equal to nor contained in a stored one; the
    // comparison is left out so the pattern stays within SQLite's limits.
    if (f->valueClass == ValueClass::Text && c.op != QLatin1String("<>") &&
        characters(c.value) > f->size)
        return open + QStringLiteral("0 )");
    if (f->lookup)
        return open + lookupCondition(*f, c, values) + QStringLiteral(" )");
    switch (f->valueClass) {
    case ValueClass::Text:
        return open + textCondition(*f, c, options, values) + QStringLiteral(" )");
    case ValueClass::Whole:
        values << c.value.toLongLong();
        return open + f->target + sqlOperator(c.op) + QStringLiteral("? )");
    case ValueClass::Decimal:
        // Whole hundredths: a stored 3.45 may be 3.4499999... after arithmetic.
        values << qRound64(c.value.toDouble() * 100);
        return open + QStringLiteral("ROUND( ") + f->target + QStringLiteral(" * 100 )") +
               sqlOperator(c.op) + QStringLiteral("? )");
    case ValueClass::Date:
        // Dates are stored as "yyyy-MM-dd", so the text order is the date order.
        values << germanformat::parseDate(c.value);
        return open + f->target + sqlOperator(c.op) + QStringLiteral("? )");
    }
    return open + QStringLiteral("0 )");
}

} // namespace

QString containsPattern(const QString& value) {
    QString escaped;
    for (const QChar ch : value.toLower()) {
        if (ch == QLatin1Char('%') || ch == QLatin1Char('_') || ch == QLatin1Char('\\'))
            escaped += QLatin1Char('\\');
        escaped += ch;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

medialist::Filter translate(Kind kind, const std::vector<Condition>& conditions,
                            const TranslateOptions& options) {
    const auto once = [&](const TranslateOptions& these, QVariantList& values) {
        QStringList parts;
        for (Condition c : conditions) {
            if (parts.isEmpty())
                c.connector = Connector::None; // the first condition joins nothing
            parts.append(conditionSql(kind, c, these, values));
        }
        return parts.join(QLatin1Char('\n'));
    };
    medialist::Filter filter;
    filter.sql = once(options, filter.values);
    if (options.songIndex) {
        TranslateOptions unindexed = options;
        unindexed.songIndex = false;
        QVariantList values;
        const QString sql = once(unindexed, values);
        if (sql != filter.sql) {
            filter.unindexedSql = sql;
            filter.unindexedValues = values;
        }
    }
    return filter;
}

} // namespace search
