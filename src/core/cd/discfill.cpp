#include "discfill.h"

#include "core/db/database.h"
#include "core/db/statement.h"

#include <QRegularExpression>

namespace discfill {

QString releaseYear(const QString& current, const QString& lookedUp) {
    if (!current.trimmed().isEmpty())
        return current;
    static const QRegularExpression fourDigits(QStringLiteral("^\\d{4}$"));
    const QString year = lookedUp.trimmed();
    return fourDigits.match(year).hasMatch() ? year : QString();
}

namespace {

std::optional<qint64> entryNamed(Database& db, const char* table, const QString& text) {
    const QString name = text.trimmed();
    if (name.isEmpty())
        return std::nullopt;
    // Compared here, not in SQL: SQLite's lower() leaves umlauts alone ("Ländler").
    Statement s = db.prepare(QStringLiteral("SELECT \"Index-Nummer\", \"Kurzbezeichnung\", "
                                            "\"Langbezeichnung\" FROM \"%1\" ORDER BY "
                                            "\"Index-Nummer\"")
                                 .arg(QLatin1String(table)));
    while (s.next()) {
        if (s.toString(1).trimmed().compare(name, Qt::CaseInsensitive) == 0 ||
            s.toString(2).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return s.toInt64(0);
    }
    return std::nullopt;
}

} // namespace

std::optional<qint64> musicDirectionFor(Database& db, const QString& genre) {
    return entryNamed(db, "MUSIKDIR", genre);
}

std::optional<qint64> mediaTypeFor(Database& db, const QString& name) {
    return entryNamed(db, "MUSIKART", name);
}

QList<CarrierOrigin> origins(const musicbrainz::Release& release) {
    QList<CarrierOrigin> origins;
    if (!release.id.isEmpty())
        origins.append({carrierorigins::kMusicBrainzRelease, release.id});
    if (!release.releaseGroup.isEmpty()) // a reply without the group's include has none
        origins.append({carrierorigins::kMusicBrainzReleaseGroup, release.releaseGroup});
    return origins;
}

} // namespace discfill
