#include "musicbrainz.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <discid/discid.h>
#include <memory>

namespace musicbrainz {
namespace {

struct DiscIdFree {
    void operator()(DiscId* d) const { discid_free(d); }
};

bool listsDisc(const QJsonObject& medium, const QString& discId) {
    for (const QJsonValue& disc : medium[QLatin1String("discs")].toArray()) {
        if (disc[QLatin1String("id")].toString() == discId)
            return true;
    }
    return false;
}

QJsonObject mediumOf(const QJsonArray& media, const QString& discId, int trackCount) {
    for (const QJsonValue& medium : media) {
        if (!discId.isEmpty() && listsDisc(medium.toObject(), discId))
            return medium.toObject();
    }
    for (const QJsonValue& medium : media) {
        if (medium[QLatin1String("track-count")].toInt() == trackCount)
            return medium.toObject();
    }
    return media.first().toObject();
}

} // namespace

QString creditText(const QJsonValue& credit) {
    QString text;
    for (const QJsonValue& part : credit.toArray())
        text +=
            part[QLatin1String("name")].toString() + part[QLatin1String("joinphrase")].toString();
    return text;
}

std::optional<DiscIdentity> discIdentity(const TCDToc& toc, int tracks) {
    if (tracks <= 0 || tracks > 99)
        return std::nullopt;
    // libdiscid wants the lead-out first, then each track's start, all in frames.
    int offsets[100] = {};
    offsets[0] = toc[size_t(tracks)].frameOffset;
    for (int i = 0; i < tracks; ++i)
        offsets[i + 1] = toc[size_t(i)].frameOffset;
    std::unique_ptr<DiscId, DiscIdFree> disc(discid_new());
    if (!disc || !discid_put(disc.get(), 1, tracks, offsets))
        return std::nullopt;
    return DiscIdentity{QString::fromLatin1(discid_get_id(disc.get())),
                        QString::fromLatin1(discid_get_toc_string(disc.get()))};
}

QString Release::label() const {
    QStringList details;
    if (!year().isEmpty())
        details << year();
    if (!country.isEmpty())
        details << country;
    details << QStringLiteral("Medium %1 von %2").arg(mediumPosition).arg(mediumCount);
    return QStringLiteral("%1 / %2 (%3)").arg(artist, title, details.join(QStringLiteral(", ")));
}

cddb::DiscRecord Release::toDiscRecord() const {
    cddb::DiscRecord disc;
    disc.artist = artist;
    disc.title = title;
    disc.tracks = tracks;
    disc.year = year();
    return disc;
}

std::optional<QList<Release>> parseDiscReply(const QByteArray& json, const QString& discId,
                                             int trackCount) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue list = document[QLatin1String("releases")];
    if (!list.isArray())
        return std::nullopt;
    QList<Release> releases;
    for (const QJsonValue& value : list.toArray()) {
        const QJsonArray media = value[QLatin1String("media")].toArray();
        if (media.isEmpty())
            continue; // nothing to fill the tracks from
        Release release;
        release.id = value[QLatin1String("id")].toString();
        release.releaseGroup =
            value[QLatin1String("release-group")][QLatin1String("id")].toString();
        release.artist = creditText(value[QLatin1String("artist-credit")]);
        release.title = value[QLatin1String("title")].toString();
        release.date = value[QLatin1String("date")].toString();
        release.country = value[QLatin1String("country")].toString();
        release.mediumCount = int(media.size());
        const QJsonObject medium = mediumOf(media, discId, trackCount);
        release.mediumPosition = medium[QLatin1String("position")].toInt(1);
        for (const QJsonValue& track : medium[QLatin1String("tracks")].toArray()) {
            const QString credit = creditText(track[QLatin1String("artist-credit")]);
            release.tracks.append({credit.isEmpty() ? release.artist : credit,
                                   track[QLatin1String("title")].toString()});
        }
        releases.append(release);
    }
    return releases;
}

} // namespace musicbrainz
