#include "musicbrainzsearch.h"

#include "musicbrainz.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>

namespace musicbrainz {
namespace {

const QString kBarcodeLength = QStringLiteral("Ein Barcode hat 8, 12 oder 13 Ziffern.");
const QString kJoin = QStringLiteral(" / ");

// A phrase of the query language: quoted, with its backslashes and quotes escaped.
QString quoted(const QString& text) {
    QString escaped = text.trimmed();
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

std::optional<QString> barcodeQuery(const QString& typed, QString* error) {
    QString code = typed;
    code.remove(QRegularExpression(QStringLiteral("[\\s-]")));
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(code).hasMatch() ||
        (code.size() != 8 && code.size() != 12 && code.size() != 13)) {
        if (error)
            *error = kBarcodeLength;
        return std::nullopt;
    }
    const QString query = QStringLiteral("barcode:") + code;
    // A UPC is printed with 12 digits and often stored as its 13-digit EAN, or the other way.
    if (code.size() == 12)
        return query + QStringLiteral(" OR barcode:0") + code;
    if (code.size() == 13 && code.startsWith(QLatin1Char('0')))
        return query + QStringLiteral(" OR barcode:") + code.mid(1);
    return query;
}

// '12" Vinyl + CD', '2×12" Vinyl': equal formats counted, in the order they first appear.
QString formatOf(const QJsonArray& media) {
    QStringList formats;
    QList<int> counts;
    for (const QJsonValue& medium : media) {
        const QString format = medium[QLatin1String("format")].toString();
        if (format.isEmpty())
            continue;
        const qsizetype at = formats.indexOf(format);
        if (at >= 0) {
            ++counts[at];
        } else {
            formats.append(format);
            counts.append(1);
        }
    }
    QStringList parts;
    for (qsizetype i = 0; i < formats.size(); ++i)
        parts.append(counts[i] > 1 ? QStringLiteral("%1×%2").arg(counts[i]).arg(formats[i])
                                   : formats[i]);
    return parts.join(QStringLiteral(" + "));
}

Hit hitOf(const QJsonValue& release) {
    Hit hit;
    hit.id = release[QLatin1String("id")].toString();
    hit.title = release[QLatin1String("title")].toString();
    hit.artist = creditText(release[QLatin1String("artist-credit")]);
    const QJsonArray media = release[QLatin1String("media")].toArray();
    hit.format = formatOf(media);
    hit.country = release[QLatin1String("country")].toString();
    hit.year = release[QLatin1String("date")].toString().left(4);
    QStringList labels, numbers;
    for (const QJsonValue& pair : release[QLatin1String("label-info")].toArray()) {
        const QString label = pair[QLatin1String("label")][QLatin1String("name")].toString();
        const QString number = pair[QLatin1String("catalog-number")].toString();
        if (!label.isEmpty())
            labels.append(label);
        if (!number.isEmpty())
            numbers.append(number);
    }
    hit.labels = labels.join(kJoin);
    hit.catalogueNumbers = numbers.join(kJoin);
    hit.barcode = release[QLatin1String("barcode")].toString();
    if (release[QLatin1String("track-count")].isDouble()) {
        hit.tracks = release[QLatin1String("track-count")].toInt();
    } else {
        for (const QJsonValue& medium : media)
            hit.tracks += medium[QLatin1String("track-count")].toInt();
    }
    return hit;
}

} // namespace

std::optional<QString> searchQuery(const SearchTerms& terms, QString* error) {
    auto refuse = [error](const QString& message) -> std::optional<QString> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    switch (terms.kind) {
    case SearchTerms::Kind::Barcode:
        return barcodeQuery(terms.barcode, error);
    case SearchTerms::Kind::CatalogueNumber:
        if (terms.catalogueNumber.trimmed().isEmpty())
            return refuse(QStringLiteral("Bitte eine Katalognummer eingeben."));
        return QStringLiteral("catno:") + quoted(terms.catalogueNumber);
    case SearchTerms::Kind::TitleAndArtist:
        break;
    }
    QStringList parts;
    if (!terms.title.trimmed().isEmpty())
        parts.append(QStringLiteral("release:") + quoted(terms.title));
    if (!terms.artist.trimmed().isEmpty())
        parts.append(QStringLiteral("artist:") + quoted(terms.artist));
    if (parts.isEmpty())
        return refuse(QStringLiteral("Bitte einen Titel oder einen Interpreten eingeben."));
    return parts.join(QStringLiteral(" AND "));
}

QString searchTarget(const QString& query, int offset) {
    // Put together, not with arg(): the encoded query holds "%3A" and the like.
    return QStringLiteral("/ws/2/release/?query=") +
           QString::fromLatin1(QUrl::toPercentEncoding(query)) +
           QStringLiteral("&fmt=json&limit=%1&offset=%2").arg(kHitsPerPage).arg(offset);
}

QString HitPage::range() const {
    if (hits.isEmpty())
        return QStringLiteral("Keine Treffer");
    return QStringLiteral("Treffer %1-%2 von %3")
        .arg(offset + 1)
        .arg(offset + hits.size())
        .arg(total);
}

std::optional<HitPage> parseSearchReply(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue releases = document[QLatin1String("releases")];
    if (!releases.isArray())
        return std::nullopt;
    HitPage page;
    // A server's numbers are taken within sense: a negative offset would ask for page -1
    // next, one near the integer limit would overflow the range's arithmetic.
    constexpr int kMostHits = 1'000'000'000;
    page.total = std::clamp(document[QLatin1String("count")].toInt(), 0, kMostHits);
    page.offset = std::clamp(document[QLatin1String("offset")].toInt(), 0, kMostHits);
    for (const QJsonValue& release : releases.toArray())
        page.hits.append(hitOf(release));
    if (!page.hits.isEmpty()) // a reply without its count still counts its own hits
        page.total = std::max(page.total, page.offset + int(page.hits.size()));
    return page;
}

} // namespace musicbrainz
