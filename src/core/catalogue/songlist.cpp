#include "songlist.h"

#include "core/db/germancollation.h"
#include "listrows.h"

namespace songlist {
namespace {

const QString kGerman = QStringLiteral(" COLLATE GERMAN");
const QString kGroup = QStringLiteral("MUSIKKOP.\"Gruppe/Interpret/Text 1\"");

const QStringList& selectExpressions() {
    static const QStringList list = {
        QStringLiteral("MUSIKPOS.\"Folgenummer Position\""),
        QStringLiteral("MUSIKPOS.\"Seite der Schallplatte\""),
        QStringLiteral("MUSIKPOS.\"Nr. des Liedes\""),
        QStringLiteral("MUSIKPOS.\"Titel des Liedes\""),
        QStringLiteral("MUSIKPOS.\"Interpret des Liedes\""),
        QStringLiteral("MUSIKPOS.\"Laufzeit des Liedes\""),
        QStringLiteral("MUSIKDIR.\"Kurzbezeichnung\""),
        QStringLiteral("MUSIKPOS.\"Musikrichtung\""),
        QStringLiteral("MUSIKPOS.\"Zählwerkstand von\""),
        QStringLiteral("MUSIKPOS.\"Zählwerkstand bis\""),
        QStringLiteral("MUSIKPOS.\"Bewertung\""),
        QStringLiteral("MUSIKPOS.\"Erscheinungsjahr\""),
        QStringLiteral("MUSIKPOSINFORMATION.\"BPM von\""),
        QStringLiteral("MUSIKPOSINFORMATION.\"BPM bis\""),
        QStringLiteral("TANZSTIL.\"Kurzbezeichnung\""),
        QStringLiteral("MUSIKKOP.\"Folgenummer Kopf\""),
        kGroup,
        QStringLiteral("MUSIKKOP.\"Text 2\""),
        QStringLiteral("MUSIKART.\"Kurzbezeichnung\""),
        QStringLiteral("MUSIKKOP.\"Nummerierung\""),
        QStringLiteral("MUSIKKOP.\"Art der Schallplatte\""),
    };
    return list;
}

bool isText(Column c) {
    switch (c) {
    case SongTitle:
    case Interpreter:
    case DirectionName:
    case Year:
    case DanceName:
    case Group:
    case Title:
    case TypeName:
        return true;
    default:
        return false;
    }
}

keysetorder::Key key(Column c) {
    return {selectExpressions().at(c) + (isText(c) ? kGerman : QString()), int(c)};
}

GridColumn col(const char* title, int labelKey, Column source, medialist::Format format,
               std::optional<Column> sortBy) {
    return {QString::fromUtf8(title), labelKey, source, format,
            sortBy ? selectExpressions().at(*sortBy) : QString()};
}

// The song information and the dance style add no rows; a count joins them only when a
// condition needs them. carriersFirst walks the carriers in the list's default order (their
// index) and their songs by key, so the first rows come without sorting every match.
QString fromSql(bool details = true, bool carriersFirst = false) {
    static const QString songs =
        QStringLiteral(" FROM \"MUSIKPOS\" MUSIKPOS"
                       " JOIN \"MUSIKKOP\" MUSIKKOP"
                       " ON MUSIKPOS.\"Folgenummer Position\" = MUSIKKOP.\"Folgenummer Kopf\"");
    static const QString carriers =
        QStringLiteral(" FROM \"MUSIKKOP\" MUSIKKOP"
                       " CROSS JOIN \"MUSIKPOS\" MUSIKPOS"
                       " ON MUSIKPOS.\"Folgenummer Position\" = MUSIKKOP.\"Folgenummer Kopf\"");
    static const QString lookups =
        QStringLiteral(" JOIN \"MUSIKART\" MUSIKART"
                       " ON MUSIKKOP.\"Art der Schallplatte\" = MUSIKART.\"Index-Nummer\""
                       " JOIN \"MUSIKDIR\" MUSIKDIR"
                       " ON MUSIKPOS.\"Musikrichtung\" = MUSIKDIR.\"Index-Nummer\"");
    static const QString detailSql = QStringLiteral(
        " LEFT JOIN \"MusikPosInformation\" MUSIKPOSINFORMATION"
        " ON MUSIKPOS.\"Folgenummer Position\" = MUSIKPOSINFORMATION.\"Folgenummer Pos Info\""
        " AND MUSIKPOS.\"Seite der Schallplatte\" = MUSIKPOSINFORMATION.\"Seite der Schallplatte\""
        " AND MUSIKPOS.\"Nr. des Liedes\" = MUSIKPOSINFORMATION.\"Nr. des Liedes\""
        " LEFT JOIN \"MusikTanzStil\" TANZSTIL"
        " ON MUSIKPOSINFORMATION.\"Tanzstil\" = TANZSTIL.\"Index-Nummer\"");
    return (carriersFirst ? carriers : songs) + lookups + (details ? detailSql : QString());
}

bool needsDetails(const QString& where) {
    return where.contains(QLatin1String("MUSIKPOSINFORMATION"), Qt::CaseInsensitive) ||
           where.contains(QLatin1String("TANZSTIL"), Qt::CaseInsensitive);
}

} // namespace

const std::vector<GridColumn>& gridColumns() {
    using F = medialist::Format;
    static const std::vector<GridColumn> columns = {
        col("Seite der Schallplatte", 10510, Side, F::Integer, Side),
        col("Nr. des Liedes", 10515, SongNumber, F::Integer, SongNumber),
        col("Titel des Liedes", 10525, SongTitle, F::Text, SongTitle),
        col("Interpret des Liedes", 10530, Interpreter, F::Text, Interpreter),
        col("Laufzeit des Liedes", 10520, Time, F::Decimal, Time),
        col("Musikrichtung", 10535, DirectionName, F::Text, DirectionName),
        col("Zählwerkstand von", 10545, CounterFrom, F::Integer, CounterFrom),
        // Sorts by the start of the counter, as the delivered program always did.
        col("Zählwerkstand bis", 10550, CounterTo, F::Integer, CounterFrom),
        col("Bewertung", 10540, Rating, F::Integer, Rating),
        col("Erscheinungsjahr", 10555, Year, F::Year, std::nullopt),
        col("BPM von", 10560, BpmFrom, F::Integer, std::nullopt),
        col("BPM bis", 10565, BpmTo, F::Integer, std::nullopt),
        col("Tanzstil", 10570, DanceName, F::Text, std::nullopt),
        col("Gruppe/Interpret/Text 1", 10110, Group, F::Text, Group),
        col("Text 2", 10115, Title, F::Text, Title),
        col("Art der Schallplatte", 10120, TypeName, F::Text, TypeName),
        col("Nummerierung", 10125, Numbering, F::Integer, Numbering),
    };
    return columns;
}

QString displayText(const GridColumn& column, const QVariant& value) {
    return medialist::displayText(
        {column.title, column.labelKey, medialist::Number, column.format, column.sortExpression},
        value);
}

QString validSortExpression(const QString& stored) {
    const QString s = stored.trimmed();
    if (s.isEmpty())
        return {};
    for (const GridColumn& c : gridColumns()) {
        if (!c.sortExpression.isEmpty() && c.sortExpression.compare(s, Qt::CaseInsensitive) == 0)
            return c.sortExpression;
    }
    return {};
}

SongKey keyOf(const Row& row) {
    return {row[Position].toDouble(), row[Side].toDouble(), row[SongNumber].toDouble()};
}

Query::Query(Database& db, QString sortExpression, std::optional<medialist::Filter> filter)
    : m_db(db), m_sort(validSortExpression(sortExpression)), m_filter(std::move(filter)) {
    if (m_filter && m_filter->sql.trimmed().isEmpty())
        m_filter.reset();
    if (m_sort.isEmpty()) {
        m_keys = {key(Group), key(Title), key(TypeNumber), key(Numbering)};
    } else {
        for (int c = 0; c < ColumnCount; ++c) {
            if (selectExpressions().at(c) == m_sort) {
                m_keys.push_back(key(Column(c)));
                break;
            }
        }
    }
    // Ties: carrier, side, song number; they make the order total, so pages are stable.
    m_keys.push_back(key(Carrier));
    m_keys.push_back(key(Side));
    m_keys.push_back(key(SongNumber));
}

bool Query::unindexed(bool indexed) const {
    return !indexed && m_filter && !m_filter->unindexedSql.isEmpty();
}

QString Query::whereSql(const QString& extra, bool indexed) const {
    QStringList parts;
    if (m_filter)
        parts.append(QStringLiteral("(") +
                     (unindexed(indexed) ? m_filter->unindexedSql : m_filter->sql) +
                     QStringLiteral(" )"));
    if (!extra.isEmpty())
        parts.append(QStringLiteral("(") + extra + QStringLiteral(")"));
    return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(u" AND ");
}

QString Query::selectSql() const {
    return rowsSql({}, Reading::Whole) + keysetorder::orderBy(m_keys);
}

QVariantList Query::filterValues() const {
    return withFilter({}, !walksCarriers(Reading::Whole));
}

QVariantList Query::withFilter(const QVariantList& values, bool indexed) const {
    QVariantList all = !m_filter            ? QVariantList()
                       : unindexed(indexed) ? m_filter->unindexedValues
                                            : m_filter->values;
    all.append(values);
    return all;
}

QString Query::rowsSql(const QString& condition, Reading reading) const {
    const bool walk = walksCarriers(reading);
    return QStringLiteral("SELECT ") + selectExpressions().join(u", ") + fromSql(true, walk) +
           whereSql(condition, !walk);
}

std::vector<Row> Query::readPage(const QString& condition, const QVariantList& values, bool reverse,
                                 int limit, qint64 offset) const {
    QVariantList all = withFilter(values, !walksCarriers(Reading::Pages));
    all.append(qint64(limit));
    all.append(offset);
    return run(rowsSql(condition, Reading::Pages) + keysetorder::orderBy(m_keys, reverse) +
                   QStringLiteral(" LIMIT ? OFFSET ?"),
               all);
}

std::vector<Row> Query::run(const QString& sql, const QVariantList& values) const {
    return readListRows<Row>(m_db, sql, values);
}

qint64 Query::count() const {
    const QString where = whereSql({});
    Statement s =
        m_db.prepare(QStringLiteral("SELECT COUNT(*)") + fromSql(needsDetails(where)) + where);
    const QVariantList values = withFilter({});
    for (int i = 0; i < values.size(); ++i)
        s.bind(i + 1, values[i]);
    m_count = s.next() ? s.toInt64(0) : 0;
    return *m_count;
}

// Whether row reads walk the carriers in their order and check each song instead of sorting
// the matches; the order of the rows is the same either way. Without conditions every song is
// listed, so walking always wins. Otherwise the choice rests on a sample of the first songs,
// so that it never waits for the whole count. Reading the whole list, walking passes every
// song once, which pays when at least one in 50 matches. A page is read sooner by walking
// while matches are not rare: with the search index sorting costs about a microsecond per
// candidate and walking about as much per song it passes, so a page of 200 rows at a share d
// of matches weighs 200/d songs walked against d·N candidates sorted: walking wins from
// d²·N ≥ 15 on. Without the index sorting reads every song anyway.
bool Query::walksCarriers(Reading reading) const {
    if (!m_sort.isEmpty())
        return false;
    if (!m_filter)
        return true;
    const Sample& s = sample();
    if (reading == Reading::Whole || !unindexed(false))
        return s.matches * 50 >= s.songs;
    constexpr double kWalkBreakEven = 15;
    return s.matches * s.matches * s.songsInAll >= kWalkBreakEven * s.songs * s.songs;
}

const Query::Sample& Query::sample() const {
    if (m_sample)
        return *m_sample;
    constexpr qint64 kSample = 20000;
    // Two statements: SQLite finds MIN or MAX alone at the ends of the table, both at once by
    // reading every row.
    const qint64 first = m_db.scalar(u"SELECT MIN(rowid) FROM \"MUSIKPOS\"").toLongLong();
    const qint64 last = m_db.scalar(u"SELECT MAX(rowid) FROM \"MUSIKPOS\"").toLongLong();
    const qint64 end = first + kSample;
    const auto countOf = [this](const QString& sql, const QVariantList& values) {
        Statement s = m_db.prepare(sql);
        for (int i = 0; i < values.size(); ++i)
            s.bind(i + 1, values[i]);
        return s.next() ? s.toInt64(0) : 0;
    };
    // Each sampled song is checked as it is: the index would read all its candidates first.
    const QString where = whereSql(QStringLiteral("MUSIKPOS.rowid < ?"), false);
    Sample result;
    result.matches =
        double(countOf(QStringLiteral("SELECT COUNT(*)") + fromSql(needsDetails(where)) + where,
                       withFilter({end}, false)));
    result.songs =
        double(countOf(QStringLiteral("SELECT COUNT(*) FROM \"MUSIKPOS\" WHERE rowid < ?"), {end}));
    result.songsInAll = double(last - first + 1);
    m_sample = result;
    return *m_sample;
}

std::vector<Row> Query::rows(qint64 first, int limit) const {
    return readPage({}, {}, false, limit, first);
}

std::vector<Row> Query::rowsAfter(const Row& row, int limit) const {
    QVariantList values;
    const QString condition = keysetorder::beyond(
        m_keys, [&row](int c) { return row[size_t(c)]; }, true, values);
    return readPage(condition, values, false, limit, 0);
}

void Query::forEach(const std::function<void(const Row&)>& visit) const {
    Statement s = m_db.prepare(selectSql());
    const QVariantList values = filterValues();
    for (int i = 0; i < values.size(); ++i)
        s.bind(i + 1, values[i]);
    Row row;
    while (s.next()) {
        for (int c = 0; c < ColumnCount; ++c)
            row[size_t(c)] = s.toVariant(c);
        visit(row);
    }
}

std::optional<Row> Query::firstWhere(const QString& condition, const QVariantList& values,
                                     bool reverse) const {
    std::vector<Row> r = readPage(condition, values, reverse, 1, 0);
    if (r.empty())
        return std::nullopt;
    return r.front();
}

std::optional<Row> Query::rowOf(const SongKey& key) const {
    return firstWhere(QStringLiteral("MUSIKPOS.\"Folgenummer Position\" = ? AND "
                                     "MUSIKPOS.\"Seite der Schallplatte\" = ? AND "
                                     "MUSIKPOS.\"Nr. des Liedes\" = ?"),
                      {key.carrier, key.side, key.number});
}

qint64 Query::positionOf(const Row& row) const {
    QVariantList values;
    const QString condition = keysetorder::beyond(
        m_keys, [&row](int c) { return row[size_t(c)]; }, false, values);
    const QString where = whereSql(condition);
    Statement s =
        m_db.prepare(QStringLiteral("SELECT COUNT(*)") + fromSql(needsDetails(where)) + where);
    const QVariantList all = withFilter(values);
    for (int i = 0; i < all.size(); ++i)
        s.bind(i + 1, all[i]);
    return s.next() ? s.toInt64(0) : 0;
}

qint64 Query::jump(qint64 current, const Row& currentRow, QChar c) const {
    const std::optional<int> initial = compareInitial(currentRow[Group].toString(), c);
    if (!initial || *initial == 0)
        return current;
    const auto [lower, upper] = medialist::initialRange(c);
    const auto value = [&currentRow](int col) { return currentRow[size_t(col)]; };
    QVariantList values;
    if (*initial < 0) {
        // Forward to the first row whose initial is c or higher, else the end.
        const QString after = keysetorder::beyond(m_keys, value, true, values);
        values.append(lower);
        const std::optional<Row> target =
            firstWhere(QStringLiteral("(") + after + QStringLiteral(") AND ") + kGroup + kGerman +
                           QStringLiteral(" >= ?"),
                       values);
        return target ? positionOf(*target) : count() - 1;
    }
    // Backward to the first row whose initial is c or lower, else the beginning.
    const QString before = keysetorder::beyond(m_keys, value, false, values);
    values.append(upper);
    const std::optional<Row> target =
        firstWhere(QStringLiteral("(") + before + QStringLiteral(") AND (") + kGroup +
                       QStringLiteral(" IS NULL OR ") + kGroup + kGerman + QStringLiteral(" < ?)"),
                   values, true);
    return target ? positionOf(*target) : 0;
}

std::optional<int> compareInitial(const QString& group, QChar c) {
    if (group.isEmpty())
        return std::nullopt;
    const auto [lower, upper] = medialist::initialRange(c);
    const QByteArray g = group.toUtf8();
    if (compareGerman(g, lower.toUtf8()) < 0)
        return -1;
    return compareGerman(g, upper.toUtf8()) < 0 ? 0 : 1;
}

} // namespace songlist
