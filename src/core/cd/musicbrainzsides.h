#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Where the tracks of a release go on a carrier: side and number of each song.
namespace musicbrainz {

// A medium as far as its songs' places depend on it.
struct MediumLayout {
    QString format; // "12\" Vinyl", "Cassette", "CD" ...
    int position = 1;
    QStringList numbers; // each track's number as printed: "A1", "B", "AA", "3"
};

struct SongPlace {
    int side = 1;
    int number = 1;
    bool operator==(const SongPlace&) const = default;
};

// The place of every track of every medium, in order. On a vinyl or cassette medium whose
// every number is a letter (maybe doubled) with optional digits, the letter is the side
// (C = 3; a doubled letter takes the lowest side the single letters leave free) and the
// digits the number (else the count on that side); on others the medium's position is the
// side and the track's place the number. A medium that would share a side with an earlier one
// moves whole behind the highest side so far; a place taken twice gets the side's next free
// number.
QList<SongPlace> songPlaces(const QList<MediumLayout>& media);

} // namespace musicbrainz
