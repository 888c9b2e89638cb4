#pragma once

#include <QString>
#include <optional>

class Database;

// The catalogue look-ups of the CD player: which carrier a disc belongs to, and what to show
// of it and of the song being played. Errors count as not found.
namespace cdplayerlookup {

struct DiscMatch {
    double carrier = 0; // "Folgenummer Kopf"
    double cdNumber = 0;
    bool operator==(const DiscMatch&) const = default;
};

// The code row of a disc ID, stored as a signed 32-bit value (or, as older data has it,
// unsigned); of several rows the lowest carrier and CD number. Rows whose carrier no longer
// exists do not count.
std::optional<DiscMatch> findDiscId(Database& db, quint32 discId);
// The same for the older code, compared as it is.
std::optional<DiscMatch> findLegacyCode(Database& db, qint64 code);

struct Heading {
    QString first;  // group, or song title
    QString second; // title, or song interpreter
};

// "Gruppe/Interpret/Text 1" and "Text 2" of the carrier.
std::optional<Heading> carrier(Database& db, double carrier);
// "Titel des Liedes" and "Interpret des Liedes" of the song of that CD and track.
std::optional<Heading> song(Database& db, double carrier, double cdNumber, int track);

} // namespace cdplayerlookup
