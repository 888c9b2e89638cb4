#include "carrierorigins.h"

#include "core/db/database.h"
#include "core/db/dataset.h"
#include "core/db/schema.h"

#include <algorithm>
#include <map>

namespace carrierorigins {
namespace {

const QString kTable = QStringLiteral("MUSIKEXT");

// MBIDs are compared as the service writes them, lower case; blanks around a key never count.
QString normalisedKey(const CarrierOrigin& origin) {
    const QString key = origin.key.trimmed();
    return origin.source.startsWith(QLatin1String("musicbrainz:")) ? key.toLower() : key;
}

// How strongly a reason says "the same edition": a Discogs release names one pressing, a
// release group all pressings of one edition, group and title only hint at it.
int strength(Reason reason) {
    switch (reason) {
    case Reason::DiscogsRelease:
        return 3;
    case Reason::ReleaseGroup:
        return 2;
    case Reason::GroupAndTitle:
        break;
    }
    return 1;
}

void collect(Statement& s, Reason reason, std::map<int, Owned>& found) {
    while (s.next()) {
        const Owned owned{int(s.toDouble(0)), s.toString(1), s.toString(2), reason};
        const auto [it, inserted] = found.try_emplace(owned.number, owned);
        if (!inserted && strength(reason) > strength(it->second.reason))
            it->second.reason = reason;
    }
}

void findByOrigin(Database& db, const QString& source, const QString& key, Reason reason,
                  std::map<int, Owned>& found) {
    const QString stored = normalisedKey({source, key});
    if (stored.isEmpty())
        return;
    Statement s =
        db.prepare(u"SELECT k.\"Folgenummer Kopf\", k.\"Gruppe/Interpret/Text 1\", k.\"Text 2\" "
                   u"FROM \"MUSIKEXT\" AS e JOIN \"MUSIKKOP\" AS k "
                   u"ON k.\"Folgenummer Kopf\" = e.\"Folgenummer Kopf\" "
                   u"WHERE e.\"Quelle\" = ?1 AND e.\"Kennung\" = ?2");
    s.bind(1, source);
    s.bind(2, stored);
    collect(s, reason, found);
}

// Cut as a stored carrier's text is cut, so a long title still meets its stored form.
QString asStored(const QString& text, const char* field) {
    const schema::Table& carriers = schema::table(u"MUSIKKOP");
    return text.left(carriers.fields[carriers.fieldIndex(QString::fromUtf8(field))].size);
}

} // namespace

void ensureTable(Database& db) {
    dataset::addMissingTables(db);
}

void write(Database& db, int carrierNumber, const QList<CarrierOrigin>& origins) {
    const bool any = std::any_of(origins.begin(), origins.end(), [](const CarrierOrigin& o) {
        return !o.source.isEmpty() && !normalisedKey(o).isEmpty();
    });
    if (!any)
        return;
    ensureTable(db);
    // Rows of an earlier carrier of this number, deleted by a version that did not know them.
    Statement stale = db.prepare(u"DELETE FROM \"MUSIKEXT\" WHERE \"Folgenummer Kopf\" = ?1");
    stale.bind(1, double(carrierNumber));
    stale.run();
    Statement insert = db.prepare(u"INSERT OR REPLACE INTO \"MUSIKEXT\" (\"Folgenummer Kopf\", "
                                  u"\"Quelle\", \"Kennung\") VALUES (?1, ?2, ?3)");
    for (const CarrierOrigin& origin : origins) {
        const QString key = normalisedKey(origin);
        if (origin.source.isEmpty() || key.isEmpty())
            continue;
        insert.bind(1, double(carrierNumber));
        insert.bind(2, origin.source);
        insert.bind(3, key);
        insert.run();
    }
}

QList<CarrierOrigin> read(Database& db, int carrierNumber) {
    QList<CarrierOrigin> origins;
    if (!dataset::hasTable(db, kTable))
        return origins; // an older data set not yet written to
    Statement s = db.prepare(u"SELECT \"Quelle\", \"Kennung\" FROM \"MUSIKEXT\" "
                             u"WHERE \"Folgenummer Kopf\" = ?1 ORDER BY \"Quelle\"");
    s.bind(1, double(carrierNumber));
    while (s.next())
        origins.append({s.toString(0), s.toString(1)});
    return origins;
}

Candidate candidateFor(const QString& group, const QString& title,
                       const QList<CarrierOrigin>& origins) {
    Candidate candidate;
    candidate.group = group;
    candidate.title = title;
    for (const CarrierOrigin& origin : origins) {
        if (origin.source == kMusicBrainzReleaseGroup)
            candidate.releaseGroup = origin.key;
        else if (origin.source == kDiscogsRelease)
            candidate.discogsRelease = origin.key;
    }
    return candidate;
}

QList<Owned> findOwned(Database& db, const Candidate& candidate) {
    std::map<int, Owned> found;
    if (dataset::hasTable(db, kTable)) {
        findByOrigin(db, kDiscogsRelease, candidate.discogsRelease, Reason::DiscogsRelease, found);
        findByOrigin(db, kMusicBrainzReleaseGroup, candidate.releaseGroup, Reason::ReleaseGroup,
                     found);
    }
    const QString group = asStored(candidate.group, "Gruppe/Interpret/Text 1");
    const QString title = asStored(candidate.title, "Text 2");
    if (!group.trimmed().isEmpty() && !title.trimmed().isEmpty()) {
        Statement s = db.prepare(
            u"SELECT \"Folgenummer Kopf\", \"Gruppe/Interpret/Text 1\", \"Text 2\" "
            u"FROM \"MUSIKKOP\" WHERE \"Gruppe/Interpret/Text 1\" = ?1 COLLATE GERMANPRIMARY "
            u"AND \"Text 2\" = ?2 COLLATE GERMANPRIMARY");
        s.bind(1, group);
        s.bind(2, title);
        collect(s, Reason::GroupAndTitle, found);
    }
    QList<Owned> owned;
    for (const auto& [number, entry] : found)
        owned.append(entry);
    return owned;
}

QString describe(const Owned& owned) {
    QString reason;
    switch (owned.reason) {
    case Reason::ReleaseGroup:
        reason = QStringLiteral("gleiche Veröffentlichungsgruppe");
        break;
    case Reason::DiscogsRelease:
        reason = QStringLiteral("gleiche Discogs-Veröffentlichung");
        break;
    case Reason::GroupAndTitle:
        reason = QStringLiteral("gleiche Gruppe und gleicher Titel");
        break;
    }
    return QStringLiteral("Nr. %1 %2 / %3 (%4)")
        .arg(owned.number)
        .arg(owned.group, owned.title, reason);
}

} // namespace carrierorigins
