#include "lendingqueries.h"

#include "core/db/recordaccess.h"

#include <type_traits>

namespace lendingqueries {

namespace {

QString prefixed(const schema::Table& table, const QString& alias) {
    QStringList columns;
    for (const schema::Field& f : table.fields)
        columns.append(alias + QLatin1Char('.') + schema::quoted(f.name));
    return columns.join(QStringLiteral(", "));
}

// Dates as the database stores them ("yyyy-MM-dd"), read without QDate's format parser,
// which costs more than the rest of a list row.
QDate dateAt(const Statement& s, int column) {
    if (s.isNull(column))
        return {};
    const QString text = s.toString(column);
    const QStringView v(text);
    if (v.size() == 10 && v[4] == QLatin1Char('-') && v[7] == QLatin1Char('-')) {
        bool y = false, m = false, d = false;
        const QDate date(v.left(4).toInt(&y), v.mid(5, 2).toInt(&m), v.mid(8, 2).toInt(&d));
        if (y && m && d)
            return date;
    }
    return s.toDate(column);
}

// records::readRecord with the quick date reading.
template <class R> R readRow(const Statement& s, int firstColumn) {
    R record;
    int i = firstColumn;
    R::forEachField(record, [&](auto& value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, QDate>)
            value = dateAt(s, i);
        else
            records::readValue(s, i, value);
        ++i;
    });
    return record;
}

} // namespace

CarrierSummary carrierSummary(Database& db, int carrier) {
    Statement s = db.prepare(
        u"SELECT K.\"Gruppe/Interpret/Text 1\", K.\"Text 2\", A.\"Kurzbezeichnung\", "
        u"K.\"Nummerierung\" FROM \"MUSIKKOP\" K LEFT JOIN \"MUSIKART\" A "
        u"ON A.\"Index-Nummer\" = K.\"Art der Schallplatte\" WHERE K.\"Folgenummer Kopf\" = ?1");
    s.bind(1, carrier);
    CarrierSummary summary;
    if (s.next()) {
        summary.group = s.toString(0);
        summary.title = s.toString(1);
        summary.typeShort = s.toString(2);
        summary.numbering = s.toDouble(3);
    }
    return summary;
}

QString overviewSql() {
    return QStringLiteral(
        "SELECT V.\"Tonträgernummer\", V.\"Verleihstatus\", H.\"Hilfstext\", V.\"Verliehen an\", "
        "K.\"Gruppe/Interpret/Text 1\", K.\"Text 2\", A.\"Kurzbezeichnung\", "
        "K.\"Art der Schallplatte\", K.\"Nummerierung\", V.\"Folgenummer\", V.\"Verliehen am\", "
        "V.\"Zurück am\" "
        "FROM \"MUSIKVER\" V "
        "JOIN \"MUSIKKOP\" K ON V.\"Tonträgernummer\" = K.\"Folgenummer Kopf\" "
        "JOIN \"MUSIKART\" A ON K.\"Art der Schallplatte\" = A.\"Index-Nummer\" "
        "JOIN \"MUSIKHLP\" H ON H.\"TableName\" = 'MUSIKVER' AND H.\"Index\" = V.\"Verleihstatus\" "
        "WHERE V.\"Verliehen an\" = :Index "
        "ORDER BY V.\"Verleihstatus\" DESC, K.\"Gruppe/Interpret/Text 1\" COLLATE GERMAN, "
        "K.\"Text 2\" COLLATE GERMAN, "
        "K.\"Art der Schallplatte\", K.\"Nummerierung\"");
}

std::vector<OverviewRow> overview(Database& db, int borrower) {
    Statement s = db.prepare(overviewSql());
    s.bind(":Index", borrower);
    std::vector<OverviewRow> rows;
    while (s.next()) {
        OverviewRow r;
        r.carrier = int(s.toInt64(0));
        r.state = int(s.toInt64(1));
        r.stateText = s.toString(2);
        r.borrower = int(s.toInt64(3));
        r.group = s.toString(4);
        r.title = s.toString(5);
        r.typeShort = s.toString(6);
        r.type = int(s.toInt64(7));
        r.numbering = s.toDouble(8);
        r.number = qint32(s.toInt64(9));
        r.lentOn = dateAt(s, 10);
        r.returnedOn = dateAt(s, 11);
        rows.push_back(std::move(r));
    }
    return rows;
}

QString listSql(bool oneBorrower, Selection selection) {
    QString sql =
        QStringLiteral("SELECT ") +
        prefixed(records::tableOf<LendingRecord>(), QStringLiteral("V")) + QStringLiteral(", ") +
        prefixed(records::tableOf<CarrierRecord>(), QStringLiteral("K")) + QStringLiteral(", ") +
        prefixed(records::tableOf<BorrowerRecord>(), QStringLiteral("B")) +
        // Outer joins: a carrier without state (lent from the empty state and taken back) or
        // with a code that has no lookup row is printed all the same, its names empty.
        QStringLiteral(", H.\"Hilfstext\" "
                       "FROM \"MUSIKVER\" V "
                       "LEFT JOIN \"MUSIKKOP\" K ON V.\"Tonträgernummer\" = K.\"Folgenummer Kopf\" "
                       "LEFT JOIN \"VERSTAMM\" B ON B.\"Folgenummer\" = V.\"Verliehen an\" "
                       "LEFT JOIN \"MUSIKHLP\" H ON H.\"TableName\" = 'MUSIKVER' "
                       "AND H.\"Index\" = V.\"Verleihstatus\"");
    QStringList conditions;
    if (oneBorrower)
        conditions.append(QStringLiteral("( V.\"Verliehen an\" = :Index )"));
    if (selection != Selection::All)
        conditions.append(QStringLiteral("( V.\"Verleihstatus\" = :Status )"));
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(
        " ORDER BY V.\"Verleihstatus\" DESC, V.\"Verliehen an\", "
        "K.\"Gruppe/Interpret/Text 1\" COLLATE GERMAN, "
        "K.\"Text 2\" COLLATE GERMAN, K.\"Art der Schallplatte\", K.\"Nummerierung\"");
    return sql;
}

ListCursor::ListCursor(Database& db, int borrower, Selection selection)
    : m_statement(db.prepare(listSql(borrower >= 0, selection))) {
    if (borrower >= 0)
        m_statement.bind(":Index", borrower);
    if (selection != Selection::All)
        m_statement.bind(":Status", selection == Selection::Open ? 1 : 0);
}

std::optional<ListRow> ListCursor::next() {
    if (!m_statement.next())
        return std::nullopt;
    static const int carrierColumn = int(records::tableOf<LendingRecord>().fields.size());
    static const int borrowerColumn =
        carrierColumn + int(records::tableOf<CarrierRecord>().fields.size());
    static const int textColumn =
        borrowerColumn + int(records::tableOf<BorrowerRecord>().fields.size());
    ListRow row;
    row.lending = readRow<LendingRecord>(m_statement, 0);
    row.carrier = readRow<CarrierRecord>(m_statement, carrierColumn);
    row.borrower = readRow<BorrowerRecord>(m_statement, borrowerColumn);
    row.stateText = m_statement.toString(textColumn);
    return row;
}

std::vector<HistoryRow> history(Database& db, std::optional<int> borrower,
                                std::optional<int> carrier) {
    Statement s = db.prepare(
        QStringLiteral("SELECT ") +
        prefixed(records::tableOf<LendingRecord>(), QStringLiteral("V")) +
        QStringLiteral(", B.\"Name 1\", K.\"Gruppe/Interpret/Text 1\", K.\"Text 2\" "
                       "FROM \"MUSIKVER\" V "
                       "LEFT JOIN \"VERSTAMM\" B ON B.\"Folgenummer\" = V.\"Verliehen an\" "
                       "LEFT JOIN \"MUSIKKOP\" K ON K.\"Folgenummer Kopf\" = V.\"Tonträgernummer\" "
                       "WHERE (?1 IS NULL OR V.\"Verliehen an\" = ?1) "
                       "AND (?2 IS NULL OR V.\"Tonträgernummer\" = ?2) "
                       "ORDER BY V.\"Verleihstatus\" DESC, V.\"Verliehen am\" DESC, "
                       "V.\"Folgenummer\" DESC, V.\"Tonträgernummer\""));
    s.bind(1, borrower);
    s.bind(2, carrier);
    std::vector<HistoryRow> rows;
    const int base = int(records::tableOf<LendingRecord>().fields.size());
    while (s.next()) {
        HistoryRow r;
        r.lending = readRow<LendingRecord>(s, 0);
        r.borrowerName = s.toString(base);
        r.carrier = qRound(r.lending.tontraegernummer);
        r.group = s.toString(base + 1);
        r.title = s.toString(base + 2);
        rows.push_back(std::move(r));
    }
    return rows;
}

} // namespace lendingqueries
