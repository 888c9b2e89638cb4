#include "statistics.h"

#include "core/common/csvwriter.h"
#include "core/common/germanformat.h"
#include "core/db/database.h"
#include "core/db/germancollation.h"
#include "core/lookup/priceconversion.h"
#include "core/settings/settings.h"

#include <algorithm>
#include <map>

namespace statistics {

namespace {

// Few enough slices that each statement pays off.
constexpr int kMaxSlices = 32;

const char* lookupTable(int kind) {
    switch (kind) {
    case MediaTypes:
        return "MUSIKART";
    case Directions:
        return "MUSIKDIR";
    case States:
        return "MUSIKSTA";
    default:
        return nullptr;
    }
}

QString groupExpression(int kind) {
    switch (kind) {
    case MediaTypes:
        return QStringLiteral("k.\"Art der Schallplatte\"");
    case Directions:
        return QStringLiteral("k.\"Musikrichtung\"");
    case States:
        return QStringLiteral("k.\"Status\"");
    default:
        // NULL and the empty text are the one empty year.
        return QStringLiteral("COALESCE(k.\"Erscheinungsjahr\", '')");
    }
}

} // namespace

Sums& Sums::operator+=(const Sums& other) {
    count += other.count;
    seconds += other.seconds;
    cents += other.cents;
    songs += other.songs;
    return *this;
}

QString caption(int kind) {
    switch (kind) {
    case MediaTypes:
        return QStringLiteral("Tonträger-Statistik");
    case Directions:
        return QStringLiteral("Musikrichtung-Statistik");
    case States:
        return QStringLiteral("Status-Statistik");
    default:
        return QStringLiteral("Erscheinungsjahr-Statistik");
    }
}

// Times are summed as whole seconds: minutes × 60 + the two decimals. For valid times that
// equals adding them pairwise with the minutes-and-seconds rule, in any order; a stored
// time with 60 or more seconds simply counts its seconds. Each price is converted and
// rounded to the cent before it is added, as a running two-decimal total would.
QString aggregateSql(int kind) {
    const QString cents =
        QStringLiteral("ROUND(%1)")
            .arg(priceconversion::sqlExpression(QStringLiteral("ROUND(k.\"Kaufpreis\" * 100)"),
                                                QStringLiteral("i.\"Currency\""),
                                                QStringLiteral("k.\"Kaufdatum\"")));
    return QStringLiteral(
               "SELECT grp, COUNT(*), SUM((h / 100) * 60 + h % 100), SUM(cents), SUM(songs) "
               "FROM (SELECT %1 AS grp, "
               "COALESCE(CAST(ROUND(k.\"Laufzeit der Schallplatte\" * 100) AS INTEGER), 0) AS h, "
               "COALESCE(CAST(%2 AS INTEGER), 0) AS cents, "
               "COALESCE(CAST(ROUND(k.\"Anzahl der Lieder\") AS INTEGER), 0) AS songs "
               "FROM \"MUSIKKOP\" k LEFT JOIN \"MusikInformation\" i "
               "ON i.\"Folgenummer Info\" = k.\"Folgenummer Kopf\" "
               "WHERE k.rowid BETWEEN :RowidFrom AND :RowidTo) "
               "GROUP BY grp")
        .arg(groupExpression(kind), cents);
}

void bindConversion(Statement& statement, Database& db, const Settings& settings) {
    priceconversion::bind(statement, priceconversion::load(db, settings));
}

struct Counter::State {
    Database& db;
    int kind;
    qint32 newCurrency;
    Statement statement;
    // Kinds 1 to 3 by code (NULL apart), kind 4 by year text.
    std::map<double, Sums> byCode;
    Sums withoutCode;
    std::map<QString, Sums> byYear;
};

Counter::Counter(Database& db, const Settings& settings, int kind, qint64 rowsPerSlice)
    : m_state(new State{db,
                        validKind(kind) ? kind : MediaTypes,
                        settings.currencyNew,
                        db.prepare(aggregateSql(validKind(kind) ? kind : MediaTypes)),
                        {},
                        {},
                        {}}) {
    bindConversion(m_state->statement, db, settings);
    Statement range = db.prepare(u"SELECT MIN(rowid), MAX(rowid) FROM \"MUSIKKOP\"");
    if (!range.next() || range.isNull(0))
        return;
    const qint64 first = range.toInt64(0), last = range.toInt64(1);
    const qint64 span = last - first + 1;
    const qint64 perSlice = std::max<qint64>(1, rowsPerSlice);
    const qint64 slices = std::clamp<qint64>((span + perSlice - 1) / perSlice, 1, kMaxSlices);
    const qint64 step = (span + slices - 1) / slices;
    for (qint64 from = first; from <= last; from += step)
        m_slices.emplace_back(from, std::min(last, from + step - 1));
}

Counter::~Counter() = default;

bool Counter::runNextSlice() {
    if (m_done >= sliceCount())
        return false;
    State& s = *m_state;
    const auto [from, to] = m_slices[size_t(m_done)];
    s.statement.reset();
    s.statement.bind(":RowidFrom", from);
    s.statement.bind(":RowidTo", to);
    while (s.statement.next()) {
        const Sums sums{s.statement.toInt64(1), s.statement.toInt64(2), s.statement.toInt64(3),
                        s.statement.toInt64(4)};
        if (s.kind == Years)
            s.byYear[s.statement.toString(0)] += sums;
        else if (s.statement.isNull(0))
            s.withoutCode += sums;
        else
            s.byCode[s.statement.toDouble(0)] += sums;
    }
    s.statement.reset(); // no read transaction stays open between slices
    ++m_done;
    return true;
}

Table Counter::result() {
    while (runNextSlice()) {
    }
    State& s = *m_state;
    Table table;
    table.kind = s.kind;
    Sums unassigned = s.withoutCode;
    if (s.kind == Years) {
        for (const auto& [year, sums] : s.byYear)
            table.rows.push_back({year, sums});
    } else {
        // One row per lookup row, with or without carriers; codes without a row apart.
        std::map<double, Sums> codes = s.byCode;
        Statement lookup =
            s.db.prepare(QStringLiteral("SELECT \"Index-Nummer\", \"Kurzbezeichnung\" FROM \"%1\" "
                                        "ORDER BY \"Index-Nummer\"")
                             .arg(QLatin1String(lookupTable(s.kind))));
        while (lookup.next()) {
            Sums sums;
            if (!lookup.isNull(0)) {
                const auto it = codes.find(lookup.toDouble(0));
                if (it != codes.end()) {
                    sums = it->second;
                    codes.erase(it);
                }
            }
            table.rows.push_back({lookup.toString(1), sums});
        }
        for (const auto& [code, sums] : codes)
            unassigned += sums;
    }
    // Letter case ignored, empty labels first; the unassigned carriers close the list.
    std::stable_sort(table.rows.begin(), table.rows.end(), [](const Row& a, const Row& b) {
        return compareGerman(a.label.toUtf8(), b.label.toUtf8()) < 0;
    });
    if (unassigned.count > 0)
        table.rows.push_back({kUnassigned, unassigned});
    for (const Row& row : table.rows)
        table.total += row.sums;
    Statement currency =
        s.db.prepare(u"SELECT \"Currency\" FROM \"Currency\" WHERE \"Index\" = ?1");
    currency.bind(1, qint64(s.newCurrency));
    if (currency.next())
        table.currency = currency.toString(0).trimmed();
    return table;
}

Table count(Database& db, const Settings& settings, int kind) {
    return Counter(db, settings, kind).result();
}

QString formatCount(qint64 value) {
    return germanformat::locale().toString(value);
}

namespace {

// Whole units with thousands points, a comma and two digits.
QString formatHundredths(qint64 whole, qint64 part, bool negative) {
    return (negative ? QStringLiteral("-") : QString()) + germanformat::locale().toString(whole) +
           QLatin1Char(',') + QStringLiteral("%1").arg(part, 2, 10, QLatin1Char('0'));
}

} // namespace

QString formatTime(qint64 seconds) {
    const qint64 magnitude = seconds < 0 ? -seconds : seconds;
    return formatHundredths(magnitude / 60, magnitude % 60, seconds < 0);
}

QString formatValue(qint64 cents, const QString& currency) {
    const qint64 magnitude = cents < 0 ? -cents : cents;
    const QString number = formatHundredths(magnitude / 100, magnitude % 100, cents < 0);
    return currency.isEmpty() ? number : number + QLatin1Char(' ') + currency;
}

QStringList titleRow() {
    return {QStringLiteral("Bezeichnung"), QStringLiteral("Anzahl"), QStringLiteral("Zeit"),
            QStringLiteral("Wert"), QStringLiteral("Anzahl Lieder")};
}

QStringList displayRow(const Row& row, const QString& currency) {
    return {row.label, formatCount(row.sums.count), formatTime(row.sums.seconds),
            formatValue(row.sums.cents, currency), formatCount(row.sums.songs)};
}

QStringList totalRow(const Table& table) {
    return displayRow({QStringLiteral("Gesamt"), table.total}, table.currency);
}

bool writeCsv(const Table& table, QIODevice* device) {
    csv::Writer writer(device);
    bool ok = writer.writeRow(titleRow());
    for (const Row& row : table.rows)
        ok = ok && writer.writeRow(displayRow(row, table.currency));
    return ok && writer.writeRow(totalRow(table)) && writer.flush();
}

} // namespace statistics
