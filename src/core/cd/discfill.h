#pragma once

#include <QString>
#include <optional>

class Database;

// What a disc look-up adds to a carrier beyond artist, title and songs: the release year
// and the music direction, each only where the carrier has none and nothing is invented.
namespace discfill {

// The "Erscheinungsjahr" to keep: the carrier's own when set, otherwise the looked-up
// year when it is four digits, otherwise empty.
QString releaseYear(const QString& current, const QString& lookedUp);

// The "Index-Nummer" of the "MUSIKDIR" entry whose short or long name is the looked-up
// genre (letter case aside); nullopt when there is none, for an entry is never created.
std::optional<qint64> musicDirectionFor(Database& db, const QString& genre);

} // namespace discfill
