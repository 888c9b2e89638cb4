#pragma once

#include "core/db/database.h"
#include "keysetorder.h"
#include "medialist.h"

#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <optional>
#include <vector>

// The list of songs a song search found: one row per song whose carrier exists with a known
// media type and whose music direction is known; song information and dance style may be
// missing. Like the carrier list, every read is a statement finished before it returns.
namespace songlist {

// Columns of a result row, in select order.
enum Column {
    Position,        // MUSIKPOS."Folgenummer Position"
    Side,            // "Seite der Schallplatte"
    SongNumber,      // "Nr. des Liedes"
    SongTitle,       // "Titel des Liedes"
    Interpreter,     // "Interpret des Liedes"
    Time,            // "Laufzeit des Liedes"
    DirectionName,   // MUSIKDIR."Kurzbezeichnung"
    DirectionNumber, // MUSIKPOS."Musikrichtung"
    CounterFrom,
    CounterTo,
    Rating,
    Year,
    BpmFrom,
    BpmTo,
    DanceName,
    Carrier, // MUSIKKOP."Folgenummer Kopf"
    Group,
    Title,
    TypeName,
    Numbering,
    TypeNumber,
    ColumnCount
};

using Row = std::array<QVariant, ColumnCount>;

// A grid column: title, label key, the result column, format and the expression clicking the
// title sorts by (empty: the order in force stays).
struct GridColumn {
    QString title;
    int labelKey;
    Column source;
    medialist::Format format;
    QString sortExpression;
};
const std::vector<GridColumn>& gridColumns();

// "3,45" for the running time, whole numbers without decimals.
QString displayText(const GridColumn& column, const QVariant& value);

// One of the grid's sort expressions (letter case ignored), or empty for the default order.
QString validSortExpression(const QString& stored);

// A song's identity: carrier, side, number.
struct SongKey {
    double carrier = 0;
    double side = 0;
    double number = 0;
    bool operator==(const SongKey&) const = default;
};
SongKey keyOf(const Row& row);

class Query {
public:
    // filter: the translated conditions (put after " WHERE "), or none for every song.
    Query(Database& db, QString sortExpression = {}, std::optional<medialist::Filter> filter = {});

    Database& database() const { return m_db; }
    const QString& sortExpression() const { return m_sort; }
    const std::optional<medialist::Filter>& filter() const { return m_filter; }
    QString selectSql() const;
    // The values bound to selectSql()'s placeholders, in order.
    QVariantList filterValues() const;

    qint64 count() const;
    std::vector<Row> rows(qint64 first, int limit) const;
    std::vector<Row> rowsAfter(const Row& row, int limit) const;
    // Every row in order through one statement (for reading the whole list at once; the
    // window reads pages so that no read stays open).
    void forEach(const std::function<void(const Row&)>& visit) const;
    std::optional<Row> rowOf(const SongKey& key) const;
    qint64 positionOf(const Row& row) const;
    // The row the jump by initial c moves to from the current row.
    qint64 jump(qint64 current, const Row& currentRow, QChar c) const;

private:
    // indexed false: the conditions without the song index's candidates, where there are any.
    bool unindexed(bool indexed) const;
    QString whereSql(const QString& extra, bool indexed = true) const;
    QVariantList withFilter(const QVariantList& values, bool indexed = true) const;
    // Pages for a window, or the whole list in one statement (tool, CSV).
    enum class Reading { Pages, Whole };
    bool walksCarriers(Reading reading) const;
    // "SELECT ... FROM ... WHERE ..." of row reads, without order and limit.
    QString rowsSql(const QString& condition, Reading reading) const;
    std::vector<Row> readPage(const QString& condition, const QVariantList& values, bool reverse,
                              int limit, qint64 offset) const;
    // Matches among the first songs, those songs, and the span of all song row numbers.
    struct Sample {
        double matches = 0;
        double songs = 0;
        double songsInAll = 0;
    };
    const Sample& sample() const;
    std::vector<Row> run(const QString& sql, const QVariantList& values) const;
    std::optional<Row> firstWhere(const QString& condition, const QVariantList& values,
                                  bool reverse = false) const;

    Database& m_db;
    QString m_sort;
    std::optional<medialist::Filter> m_filter;
    std::vector<keysetorder::Key> m_keys;
    mutable std::optional<qint64> m_count;
    mutable std::optional<Sample> m_sample;
};

// How the group's initial compares with c in the list's order: <0 lower, 0 equal, >0 higher.
// An empty group has no initial (nullopt).
std::optional<int> compareInitial(const QString& group, QChar c);

} // namespace songlist
