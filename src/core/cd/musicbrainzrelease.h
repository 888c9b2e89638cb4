#pragma once

#include "core/catalogue/cdreading.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class Database;
struct CarrierData;

// A release chosen from a search, as the web service describes it with its credits, labels,
// recordings and release group, and what a new carrier takes over from it.
namespace musicbrainz {

struct ReleaseTrack {
    QString number; // as printed: "A1", "3"
    int position = 0;
    QString title;
    QString artist;       // the track's credits, empty when the service has none
    qint64 lengthMs = -1; // -1 when unknown
};

struct ReleaseMedium {
    int position = 1;
    QString format; // "12\" Vinyl", "CD", empty when unknown
    QList<ReleaseTrack> tracks;
};

struct LabelPair {
    QString label;
    QString catalogueNumber;
};

struct ReleaseDetails {
    QString id;           // MBID
    QString releaseGroup; // MBID of the release group
    QString groupType;    // the group's primary type: "Album", "Single", "EP" ...
    QString artist;       // the credits with their join phrases
    QString title;
    QString date; // "1976-10-11", "1976" or empty
    QString country;
    QString barcode;
    QList<LabelPair> labels;
    QList<ReleaseMedium> media;
};

// "/ws/2/release/MBID?inc=artist-credits+labels+recordings+release-groups&fmt=json".
QString releaseTarget(const QString& mbid);
// nullopt when the reply is not the service's JSON of a release.
std::optional<ReleaseDetails> parseReleaseReply(const QByteArray& json);

// The short or long name of the media type a release is stored as, by its first medium's
// format and its group's type: "LP", "Maxi", "Single", "EP", "MC", "CD", else the format
// itself. Empty when the release has no format.
QString mediaTypeName(const QString& format, const QString& groupType);

inline const QString kNoSongsHint =
    QStringLiteral("Zu dieser Ausgabe kennt MusicBrainz keine Lieder.");

// What a new carrier takes over from a release, every text cut to its field.
struct ReleaseTakeOver {
    QString group;
    QString title;
    QString year;      // four digits or empty
    QString company;   // "Hersteller"
    QString orderCode; // "Bestellcode"
    QString typeName;  // see mediaTypeName()
    // Songs, totals, free text and origins, as the first save stores them; found is set.
    // The caller adds the cover when the user wants it.
    CdReading reading;
    QString hint; // kNoSongsHint when the release lists no tracks
};

// The label and catalogue number come from the pair whose number is the searched one (case,
// blanks and hyphens aside), else from the first pair.
ReleaseTakeOver takeOver(const ReleaseDetails& release, const QString& searchedCatalogueNumber);

// Fills what the user has not typed: group, title, year, "Hersteller", "Bestellcode", and the
// media type when it is none and the data set has one of that name. The songs and totals
// come from take.reading at the first save; the totals are set here.
void fillCarrier(Database& db, CarrierData& data, const ReleaseTakeOver& take);

} // namespace musicbrainz
