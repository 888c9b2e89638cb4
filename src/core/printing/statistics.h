#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class Database;
class Statement;
struct Settings;
class QIODevice;

// The collection counted by media type, music direction, state or release year: per group
// the carriers, their playing time, their purchase value in the current currency and their
// songs. The counting is aggregate SQL over a few slices of "MUSIKKOP" (so a caller can show
// progress and stop between them); only the few group rows come back into C++.
namespace statistics {

enum Kind { MediaTypes = 1, Directions = 2, States = 3, Years = 4 };

inline bool validKind(int kind) {
    return kind >= MediaTypes && kind <= Years;
}

// Exact sums: time in whole seconds, value in cents.
struct Sums {
    qint64 count = 0;
    qint64 seconds = 0;
    qint64 cents = 0;
    qint64 songs = 0;
    Sums& operator+=(const Sums& other);
    bool operator==(const Sums&) const = default;
};

struct Row {
    QString label;
    Sums sums;
};

struct Table {
    int kind = MediaTypes;
    std::vector<Row> rows; // in display order
    Sums total;
    QString currency; // the current currency's short name; empty when it has none
};

// The label of carriers whose code names no lookup row.
inline const QString kUnassigned = QStringLiteral("(nicht zugeordnet)");

// "Tonträger-Statistik" ... by kind.
QString caption(int kind);

// The aggregate over one slice of carriers, as the sqlite3 shell can run it too: no function
// or collation of our own. Parameters :RowidFrom, :RowidTo and those of bindConversion.
QString aggregateSql(int kind);
// Binds the current and old currency and the changeover day of the settings.
void bindConversion(Statement& statement, Database& db, const Settings& settings);

// Counts slice by slice. Between slices the caller may process events and stop; the
// connection is never used while a slice runs.
class Counter {
public:
    // rowsPerSlice: carriers per slice by rowid (tests make it small).
    Counter(Database& db, const Settings& settings, int kind, qint64 rowsPerSlice = 8192);
    ~Counter();
    Counter(const Counter&) = delete;
    Counter& operator=(const Counter&) = delete;

    int sliceCount() const { return int(m_slices.size()); }
    int slicesDone() const { return m_done; }
    // Runs the next slice; false when every slice has run.
    bool runNextSlice();
    // The rows after all slices ran: sorted, totals filled.
    Table result();

private:
    struct State;
    std::unique_ptr<State> m_state;
    std::vector<std::pair<qint64, qint64>> m_slices;
    int m_done = 0;
};

// Every slice in one go.
Table count(Database& db, const Settings& settings, int kind);

// German display: "1.234", time "1.234,56" (minutes, seconds), value "1.234,56 EUR".
QString formatCount(qint64 value);
QString formatTime(qint64 seconds);
QString formatValue(qint64 cents, const QString& currency);

// The window's table as text: title row, one row per group, then the totals row "Gesamt".
QStringList titleRow();
QStringList displayRow(const Row& row, const QString& currency);
QStringList totalRow(const Table& table);
// The same rows as CSV; false when the device refused.
bool writeCsv(const Table& table, QIODevice* device);

} // namespace statistics
