#pragma once
#include <QList>
#include <QString>
class Database;

// One source a carrier was taken from: ("musicbrainz:release", "<lower-case MBID>"),
// ("musicbrainz:release-group", "<lower-case MBID>"), ("discogs:release", "<number>").
struct CarrierOrigin {
    QString source;
    QString key;
    bool operator==(const CarrierOrigin&) const = default;
};

namespace carrierorigins {
inline const QString kMusicBrainzRelease = QStringLiteral("musicbrainz:release");
inline const QString kMusicBrainzReleaseGroup = QStringLiteral("musicbrainz:release-group");
inline const QString kDiscogsRelease = QStringLiteral("discogs:release");

// Creates MUSIKEXT with its index when an older data set lacks it (idempotent).
void ensureTable(Database& db);
// Writes the origins of a carrier inside the caller's transaction (empty keys are skipped).
void write(Database& db, int carrierNumber, const QList<CarrierOrigin>& origins);
QList<CarrierOrigin> read(Database& db, int carrierNumber);

// What is about to be stored; empty members take no part in the comparison.
struct Candidate {
    QString releaseGroup;   // MusicBrainz release-group MBID
    QString discogsRelease; // Discogs release number
    QString group;          // "Gruppe/Interpret/Text 1"
    QString title;          // "Text 2"
};
// The candidate of a carrier about to be stored with the origins it was taken from.
Candidate candidateFor(const QString& group, const QString& title,
                       const QList<CarrierOrigin>& origins);
enum class Reason { ReleaseGroup, DiscogsRelease, GroupAndTitle };
struct Owned {
    int number = 0;
    QString group;
    QString title;
    Reason reason = Reason::GroupAndTitle;
};
// Carriers already in the collection that may be the same edition, by carrier number; a
// carrier appears once, with its strongest reason (Discogs release, release group, group+title).
QList<Owned> findOwned(Database& db, const Candidate& candidate);
// "Nr. 17 Abba / Arrival (gleiche Veröffentlichungsgruppe)" / "(gleiche Discogs-Veröffentlichung)"
// / "(gleiche Gruppe und gleicher Titel)".
QString describe(const Owned& owned);
} // namespace carrierorigins
