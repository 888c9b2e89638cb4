#pragma once

#include "core/catalogue/carrierorigins.h"
#include "musicbrainz.h"

#include <QString>
#include <optional>

class Database;

// What a disc look-up or a release search adds to a carrier beyond artist, title and songs:
// the release year, the music direction and the media type, each only where the carrier has
// none and nothing is invented.
namespace discfill {

// The "Erscheinungsjahr" to keep: the carrier's own when set, otherwise the looked-up
// year when it is four digits, otherwise empty.
QString releaseYear(const QString& current, const QString& lookedUp);

// The "Index-Nummer" of the "MUSIKDIR" entry whose short or long name is the looked-up
// genre (letter case aside); nullopt when there is none, for an entry is never created.
std::optional<qint64> musicDirectionFor(Database& db, const QString& genre);

// Where a carrier filled from this release came from: the release and its release group.
QList<CarrierOrigin> origins(const musicbrainz::Release& release);
// The same for a media type ("MUSIKART") of a looked-up format name.
std::optional<qint64> mediaTypeFor(Database& db, const QString& name);

} // namespace discfill
