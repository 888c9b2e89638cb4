#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Finding releases on the MusicBrainz web service by what is printed on a carrier: the
// query text, the request target, and one page of hits from the reply.
namespace musicbrainz {

constexpr int kHitsPerPage = 25;

// What the user searches by: a barcode, a catalogue number, or a title and its artist.
struct SearchTerms {
    enum class Kind { Barcode, CatalogueNumber, TitleAndArtist };
    Kind kind = Kind::TitleAndArtist;
    QString barcode;
    QString catalogueNumber;
    QString title;
    QString artist;
};

// The query text: "barcode:5099902894225", "catno:\"CDP 7 46208 2\"",
// "release:\"Arrival\" AND artist:\"ABBA\"". nullopt with a German message in *error when
// the terms cannot be asked for (a barcode that is not 8, 12 or 13 digits, nothing typed):
// then nothing is sent.
std::optional<QString> searchQuery(const SearchTerms& terms, QString* error);

// "/ws/2/release/?query=Q&fmt=json&limit=25&offset=N", the query percent-encoded whole.
QString searchTarget(const QString& query, int offset);

// One release of a search reply, as the pressing picker lists it.
struct Hit {
    QString id; // MBID
    QString title;
    QString artist;           // the credits with their join phrases
    QString format;           // "2×12\" Vinyl", "12\" Vinyl + CD"
    QString country;          // "DE"
    QString year;             // "1976" or empty
    QString labels;           // the labels of all label and number pairs, " / " between
    QString catalogueNumbers; // their catalogue numbers, " / " between
    QString barcode;
    int tracks = 0; // on all media
};

struct HitPage {
    QList<Hit> hits;
    int total = 0;  // hits of the whole search
    int offset = 0; // of this page's first hit; 0 is the first hit of the search

    bool hasPrevious() const { return offset > 0; }
    bool hasNext() const { return offset + hits.size() < total; }
    // "Treffer 26-50 von 73"; "Keine Treffer" when the page is empty.
    QString range() const;
};

// The hits of a search reply in the service's order; nullopt when the reply is not the
// service's JSON.
std::optional<HitPage> parseSearchReply(const QByteArray& json);

} // namespace musicbrainz
