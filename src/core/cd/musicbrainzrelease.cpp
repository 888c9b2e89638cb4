#include "musicbrainzrelease.h"

#include "core/catalogue/carrierorigins.h"
#include "core/catalogue/carrierstore.h"
#include "core/common/laufzeit.h"
#include "discfill.h"
#include "musicbrainz.h"
#include "musicbrainzsides.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

namespace musicbrainz {
namespace {

// Field lengths of the carrier, its information record and its songs.
constexpr int kGroupLength = 50;
constexpr int kTitleLength = 50;
constexpr int kCompanyLength = 30;
constexpr int kOrderCodeLength = 20;
constexpr int kSongTextLength = 50;

// What the service writes where a release has no label or no catalogue number.
QString realName(const QString& name) {
    const QString t = name.trimmed();
    return t.compare(QLatin1String("[none]"), Qt::CaseInsensitive) == 0 ||
                   t.compare(QLatin1String("[no label]"), Qt::CaseInsensitive) == 0
               ? QString()
               : t;
}

// A catalogue number as typed and as printed compare without case, blanks and hyphens.
QString comparable(const QString& number) {
    QString t = number.toCaseFolded();
    t.remove(QRegularExpression(QStringLiteral("[\\s-]")));
    return t;
}

LabelPair chosenPair(const QList<LabelPair>& pairs, const QString& searched) {
    const QString wanted = comparable(searched);
    if (!wanted.isEmpty()) {
        for (const LabelPair& pair : pairs) {
            if (comparable(pair.catalogueNumber) == wanted)
                return pair;
        }
    }
    return pairs.value(0);
}

ReleaseTrack trackOf(const QJsonValue& track) {
    ReleaseTrack t;
    t.number = track[QLatin1String("number")].toString();
    t.position = track[QLatin1String("position")].toInt();
    t.title = track[QLatin1String("title")].toString();
    t.artist = creditText(track[QLatin1String("artist-credit")]);
    QJsonValue length = track[QLatin1String("length")];
    if (!length.isDouble())
        length = track[QLatin1String("recording")][QLatin1String("length")];
    // A length no record can have (beyond a day, negative, 1e81) stays unknown rather than
    // overflowing the conversion.
    constexpr double kLongestMs = 24.0 * 3600 * 1000;
    if (length.isDouble() && length.toDouble() >= 0 && length.toDouble() <= kLongestMs)
        t.lengthMs = qint64(length.toDouble());
    return t;
}

// 245,600 ms is 4:06: lengths are rounded to whole seconds.
double laufzeitOf(qint64 lengthMs) {
    return lengthMs < 0 ? 0 : laufzeit::fromSeconds((lengthMs + 500) / 1000);
}

void addSongs(const ReleaseDetails& release, CdReading& reading) {
    QList<MediumLayout> layouts;
    for (const ReleaseMedium& medium : release.media) {
        MediumLayout layout{medium.format, medium.position, {}};
        for (const ReleaseTrack& track : medium.tracks)
            layout.numbers.append(track.number);
        layouts.append(layout);
    }
    const QList<SongPlace> places = songPlaces(layouts);
    int i = 0;
    for (const ReleaseMedium& medium : release.media) {
        for (const ReleaseTrack& track : medium.tracks) {
            const SongPlace place = places.value(i++);
            const QString artist = track.artist.isEmpty() ? release.artist : track.artist;
            const double length = laufzeitOf(track.lengthMs);
            reading.songs.append({double(place.side), double(place.number),
                                  track.title.left(kSongTextLength), artist.left(kSongTextLength),
                                  length});
            reading.totalTime = laufzeit::add(reading.totalTime, length);
        }
    }
    reading.totalTracks = int(reading.songs.size());
}

} // namespace

QString releaseTarget(const QString& mbid) {
    return QStringLiteral(
               "/ws/2/release/%1?inc=artist-credits+labels+recordings+release-groups&fmt=json")
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(mbid)));
}

std::optional<ReleaseDetails> parseReleaseReply(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject() ||
        !document[QLatin1String("id")].isString())
        return std::nullopt;
    ReleaseDetails r;
    r.id = document[QLatin1String("id")].toString();
    const QJsonValue group = document[QLatin1String("release-group")];
    r.releaseGroup = group[QLatin1String("id")].toString();
    r.groupType = group[QLatin1String("primary-type")].toString();
    r.artist = creditText(document[QLatin1String("artist-credit")]);
    r.title = document[QLatin1String("title")].toString();
    r.date = document[QLatin1String("date")].toString();
    r.country = document[QLatin1String("country")].toString();
    r.barcode = document[QLatin1String("barcode")].toString();
    for (const QJsonValue& pair : document[QLatin1String("label-info")].toArray())
        r.labels.append({realName(pair[QLatin1String("label")][QLatin1String("name")].toString()),
                         realName(pair[QLatin1String("catalog-number")].toString())});
    const QJsonArray media = document[QLatin1String("media")].toArray();
    for (int i = 0; i < media.size(); ++i) {
        ReleaseMedium medium;
        medium.position = media[i][QLatin1String("position")].toInt(i + 1);
        medium.format = media[i][QLatin1String("format")].toString();
        for (const QJsonValue& track : media[i][QLatin1String("tracks")].toArray())
            medium.tracks.append(trackOf(track));
        r.media.append(medium);
    }
    return r;
}

QString mediaTypeName(const QString& format, const QString& groupType) {
    const QString f = format.trimmed();
    auto is = [&f](const char* name) {
        return f.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    const bool ep = groupType.compare(QLatin1String("EP"), Qt::CaseInsensitive) == 0;
    const bool single = groupType.compare(QLatin1String("Single"), Qt::CaseInsensitive) == 0;
    if (is("12\" Vinyl") || is("Vinyl"))
        return ep ? QStringLiteral("EP") : single ? QStringLiteral("Maxi") : QStringLiteral("LP");
    if (is("7\" Vinyl"))
        return ep ? QStringLiteral("EP") : QStringLiteral("Single");
    if (is("Cassette"))
        return QStringLiteral("MC");
    // "CD", "CD-R", "Enhanced CD", "HDCD", "SHM-CD", but not "SACD" or "VCD".
    static const QRegularExpression cdKind(QStringLiteral("\\bCD\\b|^HDCD$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (cdKind.match(f).hasMatch())
        return QStringLiteral("CD");
    return f;
}

ReleaseTakeOver takeOver(const ReleaseDetails& release, const QString& searchedCatalogueNumber) {
    ReleaseTakeOver take;
    take.group = release.artist.left(kGroupLength);
    take.title = release.title.left(kTitleLength);
    take.year = discfill::releaseYear(QString(), release.date.left(4));
    const LabelPair pair = chosenPair(release.labels, searchedCatalogueNumber);
    take.company = pair.label.left(kCompanyLength);
    take.orderCode = pair.catalogueNumber.left(kOrderCodeLength);
    take.typeName = mediaTypeName(
        release.media.isEmpty() ? QString() : release.media.front().format, release.groupType);

    CdReading& reading = take.reading;
    reading.found = true;
    reading.artist = take.group;
    reading.title = take.title;
    reading.year = take.year;
    // The field holds 20 characters; the number as printed is kept in the free text.
    if (pair.catalogueNumber.size() > kOrderCodeLength)
        reading.textLines.append(QStringLiteral("Katalognummer: ") + pair.catalogueNumber);
    addSongs(release, reading);
    if (reading.songs.isEmpty())
        take.hint = kNoSongsHint;
    if (!release.id.isEmpty())
        reading.origins.append({carrierorigins::kMusicBrainzRelease, release.id.toLower()});
    if (!release.releaseGroup.isEmpty())
        reading.origins.append(
            {carrierorigins::kMusicBrainzReleaseGroup, release.releaseGroup.toLower()});
    return take;
}

void fillCarrier(Database& db, CarrierData& data, const ReleaseTakeOver& take) {
    CarrierRecord& c = data.carrier;
    if (c.gruppeInterpretText1.isEmpty())
        c.gruppeInterpretText1 = take.group;
    if (c.text2.isEmpty())
        c.text2 = take.title;
    c.erscheinungsjahr = discfill::releaseYear(c.erscheinungsjahr, take.year);
    if (data.info.firma.isEmpty())
        data.info.firma = take.company;
    if (data.info.bestellcode.isEmpty())
        data.info.bestellcode = take.orderCode;
    if (c.artDerSchallplatte == 0)
        if (const auto type = discfill::mediaTypeFor(db, take.typeName))
            c.artDerSchallplatte = double(*type);
    c.anzahlDerLieder = take.reading.totalTracks;
    c.laufzeitDerSchallplatte = take.reading.totalTime;
}

} // namespace musicbrainz
