#include "medialist.h"

#include "core/common/germanformat.h"
#include "core/db/germancollation.h"
#include "listrows.h"

namespace medialist {
namespace {

const QString kGroup = QStringLiteral("MUSIKKOP.\"Gruppe/Interpret/Text 1\"");
const QString kGerman = QStringLiteral(" COLLATE GERMAN");

bool isText(Column c) {
    switch (c) {
    case Group:
    case Title:
    case TypeName:
    case DirectionName:
    case StateName:
    case Year:
    case Pressing:
    case Condition:
    case Recording:
    case Company:
    case OrderCode:
    case CurrencyName:
        return true;
    default:
        return false;
    }
}

// The expressions of the select list, in the order of Column.
const QStringList& selectExpressions() {
    static const QStringList list = {
        QStringLiteral("MUSIKKOP.\"Folgenummer Kopf\""),
        kGroup,
        QStringLiteral("MUSIKKOP.\"Text 2\""),
        QStringLiteral("MUSIKART.\"Kurzbezeichnung\""),
        QStringLiteral("MUSIKKOP.\"Nummerierung\""),
        QStringLiteral("MUSIKKOP.\"Anzahl der Lieder\""),
        QStringLiteral("MUSIKKOP.\"Laufzeit der Schallplatte\""),
        QStringLiteral("MUSIKDIR.\"Kurzbezeichnung\""),
        QStringLiteral("MUSIKSTA.\"Kurzbezeichnung\""),
        QStringLiteral("MUSIKKOP.\"Erscheinungsjahr\""),
        QStringLiteral("MUSIKKOP.\"Kaufpreis\""),
        QStringLiteral("MUSIKKOP.\"Kaufdatum\""),
        QStringLiteral("MUSIKKOP.\"Bewertung\""),
        QStringLiteral("MUSIKKOP.\"Art der Schallplatte\""),
        QStringLiteral("MUSIKKOP.\"Status\""),
        QStringLiteral("MUSIKINFO.\"Pressung\""),
        QStringLiteral("MUSIKINFO.\"Zustand\""),
        QStringLiteral("MUSIKINFO.\"Aufnahme\""),
        QStringLiteral("MUSIKINFO.\"Firma\""),
        QStringLiteral("MUSIKINFO.\"Bestellcode\""),
        QStringLiteral("MUSIKINFO.\"CreationDate\""),
        QStringLiteral("MUSIKINFO.\"ChangeDate\""),
        QStringLiteral("CURRENCY.\"Currency\""),
    };
    return list;
}

GridColumn col(const char* title, int key, Column source, Format format) {
    return {QString::fromUtf8(title), key, source, format, selectExpressions().at(source)};
}

} // namespace

std::pair<QString, QString> initialRange(QChar c) {
    const QChar lower = c.toLower();
    QChar next(lower.unicode() + 1);
    if (next.isLetter())
        next = next.toUpper();
    return {QString(c.toUpper()), QString(next)};
}

const std::vector<GridColumn>& gridColumns() {
    static const std::vector<GridColumn> columns = {
        col("Gruppe", 10110, Group, Format::Text),
        col("Titel", 10115, Title, Format::Text),
        col("Art", 10120, TypeName, Format::Text),
        col("Nummerierung", 10125, Numbering, Format::Integer),
        col("Anzahl der Lieder", 10130, SongCount, Format::Integer),
        col("Laufzeit des Tonträgers", 10135, TotalTime, Format::Decimal),
        col("Musikrichtung", 10140, DirectionName, Format::Text),
        col("Status", 10150, StateName, Format::Text),
        col("Erscheinungsjahr", 10155, Year, Format::Year),
        col("Kaufpreis", 10160, Price, Format::Decimal),
        col("Währung", 0, CurrencyName, Format::Text),
        col("Kaufdatum", 10165, PurchaseDate, Format::Date),
        col("Bewertung", 10145, Rating, Format::Integer),
        col("Pressung", 10170, Pressing, Format::Text),
        col("Aufnahme", 10175, Recording, Format::Text),
        col("Zustand", 10180, Condition, Format::Text),
        col("Bestellcode", 10185, OrderCode, Format::Text),
        col("Hersteller", 10190, Company, Format::Text),
        col("Erfaßt", 0, Created, Format::Date),
        col("Geändert", 0, Changed, Format::Date),
    };
    return columns;
}

QString displayText(const GridColumn& column, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (column.format) {
    case Format::Decimal:
        return QString::number(value.toDouble(), 'f', 2)
            .replace(QLatin1Char('.'), QLatin1Char(','));
    case Format::Integer: {
        const double v = value.toDouble();
        return v == qint64(v) ? QString::number(qint64(v)) : germanformat::formatNumber(v);
    }
    case Format::Date:
        return germanformat::formatDate(QDate::fromString(value.toString(), Qt::ISODate));
    case Format::Text:
    case Format::Year:
        return value.toString();
    }
    return {};
}

QString validSortExpression(const QString& stored) {
    const QString s = stored.trimmed();
    for (const GridColumn& c : gridColumns()) {
        if (c.sortExpression.compare(s, Qt::CaseInsensitive) == 0)
            return c.sortExpression;
    }
    return {};
}

Query::Query(Database& db, QString sortExpression, std::optional<Filter> filter)
    : m_db(db), m_sort(validSortExpression(sortExpression)), m_filter(std::move(filter)) {
    auto key = [](Column c) {
        return keysetorder::Key{selectExpressions().at(c) + (isText(c) ? kGerman : QString()), c};
    };
    if (m_sort.isEmpty()) {
        m_keys = {key(Group), key(Title), key(TypeNumber), key(Numbering)};
    } else {
        for (const GridColumn& c : gridColumns()) {
            if (c.sortExpression == m_sort)
                m_keys.push_back(key(c.source));
        }
    }
    // The carrier number last: equal sort values keep one order, so pages are stable.
    m_keys.push_back(key(Number));
}

QString Query::fromSql(bool details) const {
    // CROSS JOIN is an inner join that keeps the carriers as the outer loop: with table
    // statistics the planner would otherwise walk a lookup table and fetch carriers one by
    // one through an index, several times slower for the count and the default order.
    return QStringLiteral(" FROM \"MUSIKKOP\" MUSIKKOP"
                          " CROSS JOIN \"MUSIKART\" MUSIKART"
                          " ON MUSIKKOP.\"Art der Schallplatte\" = MUSIKART.\"Index-Nummer\""
                          " CROSS JOIN \"MUSIKDIR\" MUSIKDIR"
                          " ON MUSIKKOP.\"Musikrichtung\" = MUSIKDIR.\"Index-Nummer\""
                          " CROSS JOIN \"MUSIKSTA\" MUSIKSTA"
                          " ON MUSIKKOP.\"Status\" = MUSIKSTA.\"Index-Nummer\"") +
           (details ? QStringLiteral(
                          " LEFT JOIN \"MusikInformation\" MUSIKINFO"
                          " ON MUSIKKOP.\"Folgenummer Kopf\" = MUSIKINFO.\"Folgenummer Info\""
                          " LEFT JOIN \"Currency\" CURRENCY"
                          " ON MUSIKINFO.\"Currency\" = CURRENCY.\"Index\"")
                    : QString());
}

QString Query::whereSql(const QString& extra) const {
    QStringList parts;
    if (m_filter && !m_filter->sql.trimmed().isEmpty())
        parts.append(QStringLiteral("(") + m_filter->sql + QStringLiteral(" )"));
    if (!extra.isEmpty())
        parts.append(QStringLiteral("(") + extra + QStringLiteral(")"));
    return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(u" AND ");
}

QString Query::orderSql() const {
    return keysetorder::orderBy(m_keys);
}

QString Query::selectSql() const {
    return QStringLiteral("SELECT ") + selectExpressions().join(u", ") + fromSql() + whereSql({}) +
           orderSql();
}

const QVariantList& Query::filterValues() const {
    static const QVariantList none;
    return m_filter ? m_filter->values : none;
}

// The rows that sort after (or before) the given row, as a condition. Ascending order puts
// empty values first; a text compares in the German collation.
QString Query::predicate(const Row& row, bool after, QVariantList& values) const {
    return keysetorder::beyond(
        m_keys, [&row](int column) { return row[size_t(column)]; }, after, values);
}

std::vector<Row> Query::run(const QString& sql, const QVariantList& values) const {
    return readListRows<Row>(m_db, sql, values);
}

qint64 Query::countWhere(const QString& condition, const QVariantList& values) const {
    if (onCarriersOnly(condition))
        return countCarriers(condition, values);
    // The optional tables add no rows; they are joined only when a condition needs them.
    const QString where = whereSql(condition);
    const bool details = where.contains(QLatin1String("MUSIKINFO"), Qt::CaseInsensitive) ||
                         where.contains(QLatin1String("CURRENCY"), Qt::CaseInsensitive);
    Statement s = m_db.prepare(QStringLiteral("SELECT COUNT(*)") + fromSql(details) + where);
    QVariantList all = filterValues();
    all.append(values);
    for (int i = 0; i < all.size(); ++i)
        s.bind(i + 1, all[i]);
    return s.next() ? s.toInt64(0) : 0;
}

std::optional<Row> Query::firstWhere(const QString& condition, const QVariantList& values) const {
    QVariantList all = filterValues();
    all.append(values);
    std::vector<Row> r =
        run(QStringLiteral("SELECT ") + selectExpressions().join(u", ") + fromSql() +
                whereSql(condition) + orderSql() + QStringLiteral(" LIMIT 1"),
            all);
    if (r.empty())
        return std::nullopt;
    return r.front();
}

qint64 Query::count() const {
    return countWhere({}, {});
}

// The whole list holds every carrier whose media type, direction and state have a lookup
// row. Counting the join walks every carrier; counting carriers alone (on an index of the
// condition's column) less those whose code falls into a gap between the lookup keys, or
// is NULL, takes index seeks only, as such carriers are rare. Equal to the join's count, as
// the lookup keys are unique. nullopt when a lookup table is empty: nothing joins.
bool Query::onCarriersOnly(const QString& condition) const {
    if (m_filter && !m_filter->sql.trimmed().isEmpty())
        return false;
    for (const char* table : {"MUSIKART.", "MUSIKDIR.", "MUSIKSTA.", "MUSIKINFO.", "CURRENCY."})
        if (condition.contains(QLatin1String(table), Qt::CaseInsensitive))
            return false;
    return true;
}

std::optional<QString> Query::orphansSql(QVariantList& values) const {
    struct Code {
        const char* column;
        const char* lookup;
    };
    static constexpr Code kCodes[] = {{"Art der Schallplatte", "MUSIKART"},
                                      {"Musikrichtung", "MUSIKDIR"},
                                      {"Status", "MUSIKSTA"}};
    QStringList orphans;
    for (const Code& code : kCodes) {
        Statement keys =
            m_db.prepare(QStringLiteral("SELECT DISTINCT \"Index-Nummer\" FROM \"%1\" "
                                        "WHERE \"Index-Nummer\" IS NOT NULL ORDER BY 1")
                             .arg(QLatin1String(code.lookup)));
        QVariantList present;
        while (keys.next())
            present.append(keys.toVariant(0));
        if (present.isEmpty())
            return std::nullopt;
        const QString column = QStringLiteral("\"%1\"").arg(QLatin1String(code.column));
        QStringList gaps{column + QStringLiteral(" IS NULL"), column + QStringLiteral(" < ?")};
        values.append(present.front());
        for (qsizetype i = 1; i < present.size(); ++i) {
            gaps.append(QStringLiteral("(%1 > ? AND %1 < ?)").arg(column));
            values << present[i - 1] << present[i];
        }
        gaps.append(column + QStringLiteral(" > ?"));
        values.append(present.back());
        orphans.append(QStringLiteral("SELECT rowid FROM \"MUSIKKOP\" WHERE ") +
                       gaps.join(u" OR "));
    }
    return orphans.join(u" UNION ");
}

// Counts the unfiltered list's rows meeting a condition on carrier columns only.
qint64 Query::countCarriers(const QString& condition, const QVariantList& values) const {
    const QString where =
        condition.isEmpty() ? QString() : QStringLiteral(" WHERE (") + condition + u')';
    QVariantList all = values;
    const std::optional<QString> orphans = orphansSql(all);
    if (!orphans)
        return 0;
    all.append(values);
    Statement s = m_db.prepare(
        QStringLiteral("SELECT (SELECT COUNT(*) FROM \"MUSIKKOP\" MUSIKKOP") + where +
        QStringLiteral(
            ") - (SELECT COUNT(*) FROM \"MUSIKKOP\" MUSIKKOP WHERE MUSIKKOP.rowid IN (") +
        *orphans + u')' +
        (condition.isEmpty() ? QString() : QStringLiteral(" AND (") + condition + u')') + u')');
    for (int i = 0; i < all.size(); ++i)
        s.bind(i + 1, all[i]);
    return s.next() ? s.toInt64(0) : 0;
}

std::vector<Row> Query::rows(qint64 first, int limit) const {
    QVariantList all = filterValues();
    all.append(qint64(limit));
    all.append(first);
    return run(selectSql() + QStringLiteral(" LIMIT ? OFFSET ?"), all);
}

std::vector<Row> Query::rowsAfter(const Row& row, int limit) const {
    QVariantList values;
    const QString condition = predicate(row, true, values);
    QVariantList all = filterValues();
    all.append(values);
    all.append(qint64(limit));
    return run(QStringLiteral("SELECT ") + selectExpressions().join(u", ") + fromSql() +
                   whereSql(condition) + orderSql() + QStringLiteral(" LIMIT ?"),
               all);
}

std::optional<Row> Query::rowOf(double carrierNumber) const {
    return firstWhere(QStringLiteral("MUSIKKOP.\"Folgenummer Kopf\" = ?"), {carrierNumber});
}

qint64 Query::positionOf(const Row& row) const {
    QVariantList values;
    const QString condition = predicate(row, false, values);
    return countWhere(condition, values);
}

qint64 Query::jump(qint64 current, const Row* currentRow, const Row* nextRow, QChar c) const {
    const auto [lower, upper] = initialRange(c);
    if (m_sort.isEmpty()) {
        if (currentRow && nextRow && startsWithInitial((*currentRow)[Group].toString(), c) &&
            startsWithInitial((*nextRow)[Group].toString(), c))
            return current + 1;
        const qint64 total = count();
        const qint64 first = countWhere(kGroup + QStringLiteral(" IS NULL OR ") + kGroup + kGerman +
                                            QStringLiteral(" < ?"),
                                        {lower});
        return first >= total ? total - 1 : first;
    }
    // Another order: the next row that starts with c, from the top again after the last.
    const QString starts =
        kGroup + kGerman + QStringLiteral(" >= ? AND ") + kGroup + kGerman + QStringLiteral(" < ?");
    std::optional<Row> target;
    if (currentRow) {
        QVariantList values;
        const QString after = predicate(*currentRow, true, values);
        values.append(lower);
        values.append(upper);
        target =
            firstWhere(QStringLiteral("(") + after + QStringLiteral(") AND ") + starts, values);
    }
    if (!target)
        target = firstWhere(starts, {lower, upper});
    return target ? positionOf(*target) : current;
}

bool startsWithInitial(const QString& group, QChar c) {
    const auto [lower, upper] = initialRange(c);
    const QByteArray g = group.toUtf8();
    return compareGerman(g, lower.toUtf8()) >= 0 && compareGerman(g, upper.toUtf8()) < 0;
}

QString initialOf(const QString& group) {
    if (group.isEmpty())
        return {};
    const QString decomposed = group.left(1).normalized(QString::NormalizationForm_D);
    return decomposed.left(1).toUpper();
}

} // namespace medialist
