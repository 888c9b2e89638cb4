#pragma once

#include "core/db/database.h"
#include "keysetorder.h"

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <array>
#include <optional>
#include <vector>

// The carrier list: one row per carrier whose media type, music direction and state are
// known; information record and currency may be missing. Every read is a statement of its
// own that is finished before the call returns, so no read stays open between calls and
// blocks a writer.
namespace medialist {

// Columns of a result row, in select order.
enum Column {
    Number,    // MUSIKKOP."Folgenummer Kopf"
    Group,     // "Gruppe/Interpret/Text 1"
    Title,     // "Text 2"
    TypeName,  // MUSIKART."Kurzbezeichnung"
    Numbering, // "Nummerierung"
    SongCount, // "Anzahl der Lieder"
    TotalTime, // "Laufzeit der Schallplatte"
    DirectionName,
    StateName,
    Year,
    Price,
    PurchaseDate,
    Rating,
    TypeNumber, // "Art der Schallplatte"
    StateNumber,
    Pressing,
    Condition,
    Recording,
    Company,
    OrderCode,
    Created,
    Changed,
    CurrencyName,
    ColumnCount
};

using Row = std::array<QVariant, ColumnCount>;

enum class Format { Text, Integer, Decimal, Date, Year };

// A column of the window's grid: title, label key for the user's names (0: none), the
// result column it shows, how it is formatted and the expression it sorts by.
struct GridColumn {
    QString title;
    int labelKey;
    Column source;
    Format format;
    QString sortExpression;
};
const std::vector<GridColumn>& gridColumns();

// The text a grid cell shows: "3,45" for decimals, "dd.MM.yyyy" for dates.
QString displayText(const GridColumn& column, const QVariant& value);

// A sort order: empty for the default order (group, title, type, numbering), otherwise one
// of the grid columns' sort expressions. Any other text gives the default order.
QString validSortExpression(const QString& stored);

// Conditions of a search result window: SQL text with "?" placeholders and their values.
struct Filter {
    QString sql;
    QVariantList values;
    // The same conditions without the song search index's candidates; empty when sql names
    // none. Where rows are read in an order and many songs match, checking each song as it
    // comes beats reading every candidate first.
    QString unindexedSql{};
    QVariantList unindexedValues{};
};

class Query {
public:
    Query(Database& db, QString sortExpression = {}, std::optional<Filter> filter = {});

    Database& database() const { return m_db; }
    const QString& sortExpression() const { return m_sort; }
    const std::optional<Filter>& filter() const { return m_filter; }
    // The whole statement ("SELECT ... ORDER BY ...") with "?" placeholders.
    QString selectSql() const;
    const QVariantList& filterValues() const;

    qint64 count() const;
    // Rows from position first (0-based) on, at most limit of them.
    std::vector<Row> rows(qint64 first, int limit) const;
    // Rows that follow the given row in the order, at most limit of them.
    std::vector<Row> rowsAfter(const Row& row, int limit) const;
    // The row of a carrier, when the list holds it.
    std::optional<Row> rowOf(double carrierNumber) const;
    // How many rows sort before the given row: its position when it is in the list.
    qint64 positionOf(const Row& row) const;
    // The row of the jump by initial c (a digit or letter). In the default order: the next
    // row while the current and the next group start with c, else the first group at or after
    // c (the last row when none). In another order: the next row whose group starts with c,
    // from the top again after the last; the current row when none does.
    qint64 jump(qint64 current, const Row* currentRow, const Row* nextRow, QChar c) const;

private:
    QString fromSql(bool details = true) const;
    QString whereSql(const QString& extra) const;
    QString orderSql() const;
    QString predicate(const Row& row, bool after, QVariantList& values) const;
    std::vector<Row> run(const QString& sql, const QVariantList& values) const;
    qint64 countWhere(const QString& condition, const QVariantList& values) const;
    bool onCarriersOnly(const QString& condition) const;
    std::optional<QString> orphansSql(QVariantList& values) const;
    qint64 countCarriers(const QString& condition, const QVariantList& values) const;
    std::optional<Row> firstWhere(const QString& condition, const QVariantList& values) const;

    Database& m_db;
    QString m_sort;
    std::optional<Filter> m_filter;
    std::vector<keysetorder::Key> m_keys;
};

// The bounds of the texts that start with c in the German order: [lower, upper).
std::pair<QString, QString> initialRange(QChar c);
// True when the group starts with c in the German order (Ä counts as A); c is a letter or
// a digit. An empty group starts with nothing.
bool startsWithInitial(const QString& group, QChar c);
// The tab the current row selects: the folded first character ("Ä" -> "A"), empty when none.
QString initialOf(const QString& group);

} // namespace medialist
