#pragma once

#include "cddbtext.h"
#include "cdtypes.h"

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <optional>

// The texts of the MusicBrainz web service: the disc ID of a table of contents and the
// releases of a disc ID reply (JSON).
namespace musicbrainz {

// What the service is asked with: the disc ID ("49HHV7Eb8UKF3aQiNmu1GR8vKTY-") and the
// table of contents for the fuzzy look-up ("1 6 95462 150 15363 ...").
struct DiscIdentity {
    QString id;
    QString toc;
};
// Computed by libdiscid from the table of contents alone (no drive is touched); nullopt
// when the table cannot be a CD's.
std::optional<DiscIdentity> discIdentity(const TCDToc& toc, int tracks);

// One release of a reply, reduced to the medium that holds the disc.
struct Release {
    QString id;           // the release's MBID, which the cover archive knows it by
    QString releaseGroup; // the MBID of its release group: the same edition in other pressings
    QString artist;
    QString title;
    QString date; // "1984-05-01", "1984" or empty
    QString country;
    int mediumPosition = 1;
    int mediumCount = 1;
    QList<TCDTitleList> tracks; // the medium's tracks, in order

    QString year() const { return date.left(4); }
    // "Interpret / Titel (Jahr, Land, Medium n von m)"; missing parts are left out.
    QString label() const;
    // As a CDDB record: the caller fills the carrier from either the same way.
    cddb::DiscRecord toDiscRecord() const;
};

// An "artist-credit" of a reply: the names with their join phrases ("A feat. B").
QString creditText(const QJsonValue& credit);

// The releases of a discid reply (a lookup by ID or by table of contents). The medium of a
// release is the one listing discId, else the first with trackCount tracks, else the first.
// nullopt when the reply is not the service's JSON.
std::optional<QList<Release>> parseDiscReply(const QByteArray& json, const QString& discId,
                                             int trackCount);

} // namespace musicbrainz
