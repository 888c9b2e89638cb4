#include "lookupstore.h"

#include "core/db/database.h"
#include "core/db/recordaccess.h"
#include "lookupkinds.h"

#include <algorithm>
#include <stdexcept>

namespace {

const schema::Table& tableOfKind(int kind) {
    return schema::table(lookup::kindInfo(kind).table);
}

// Whether any row answers the query for the key. Nothing refers to the video entries.
bool referenced(Database& db, int kind, double key) {
    QString sql;
    switch (kind) {
    case lookup::kMediaTypes:
        sql = QStringLiteral(
            "SELECT 1 FROM \"MUSIKKOP\" WHERE \"Art der Schallplatte\" = :Key LIMIT 1");
        break;
    case lookup::kStates:
        // An open lending keeps the state the carrier returns to.
        sql = QStringLiteral(
            "SELECT 1 WHERE EXISTS (SELECT 1 FROM \"MUSIKKOP\" WHERE \"Status\" = :Key) "
            "OR EXISTS (SELECT 1 FROM \"MUSIKVER\" WHERE \"Verleihstatus\" = 1 "
            "AND \"Status alt\" = :Key)");
        break;
    case lookup::kMusicDirections:
        sql = QStringLiteral(
            "SELECT 1 WHERE EXISTS (SELECT 1 FROM \"MUSIKKOP\" WHERE \"Musikrichtung\" = :Key) "
            "OR EXISTS (SELECT 1 FROM \"MUSIKPOS\" WHERE \"Musikrichtung\" = :Key)");
        break;
    case lookup::kDanceStyles:
        sql = QStringLiteral(
            "SELECT 1 FROM \"MusikPosInformation\" WHERE \"Tanzstil\" = :Key LIMIT 1");
        break;
    default:
        return false;
    }
    Statement s = db.prepare(sql);
    s.bind(":Key", key);
    return s.next();
}

} // namespace

CoverLayoutRecord defaultCoverLayout(double key) {
    CoverLayoutRecord cover;
    cover.indexNummer = key;
    cover.leerzeilenVor = 4;
    cover.leerzeilenNach = 2;
    cover.fontName = QStringLiteral("Arial");
    cover.fontGroesse = 6;
    return cover;
}

LookupStore::LookupStore(Database& db, int kind) : m_db(db), m_kind(kind) {
    if (!lookup::isLookupKind(kind))
        throw std::out_of_range("lookup kind out of range");
}

std::vector<LookupRecord> LookupStore::list() const {
    if (!lookup::isVideoKind(m_kind))
        return listByKey();
    return records::select<LookupRecord>(
        m_db, QStringLiteral("ORDER BY \"Kurzbezeichnung\" COLLATE GERMAN, \"Index-Nummer\""), {},
        tableOfKind(m_kind));
}

std::vector<LookupRecord> LookupStore::listByKey() const {
    return records::select<LookupRecord>(m_db, QStringLiteral("ORDER BY \"Index-Nummer\""), {},
                                         tableOfKind(m_kind));
}

std::optional<LookupRecord> LookupStore::find(double key) const {
    LookupRecord k;
    k.indexNummer = key;
    return records::find(m_db, k, tableOfKind(m_kind));
}

std::optional<CoverLayoutRecord> LookupStore::findCover(double key) const {
    if (m_kind != lookup::kMediaTypes)
        return std::nullopt;
    CoverLayoutRecord k;
    k.indexNummer = key;
    return records::find(m_db, k);
}

bool LookupStore::isInUse(double key) const {
    return referenced(m_db, m_kind, key);
}

EntryState LookupStore::state(double key) const {
    if (key <= 0)
        return EntryState::Reserved;
    return isInUse(key) ? EntryState::InUse : EntryState::Free;
}

double LookupStore::nextKey() const {
    // A table holding only reserved rows would otherwise give 0 or less.
    return std::max(1.0, records::nextKey(m_db, tableOfKind(m_kind), u"Index-Nummer"));
}

double LookupStore::save(const LookupEntry& entry) {
    const schema::Table& table = tableOfKind(m_kind);
    const bool mediaType = m_kind == lookup::kMediaTypes;
    Transaction transaction(m_db);
    LookupRecord record;
    if (entry.key) {
        const std::optional<LookupRecord> stored = find(*entry.key);
        if (!stored)
            throw DbError(DbError::Kind::Other,
                          QStringLiteral("Der Datensatz ist nicht mehr vorhanden."));
        record = *stored;
        record.kurzbezeichnung = entry.shortName;
        record.langbezeichnung = entry.longName;
        if (mediaType && entry.numbering)
            record.nummerierung = *entry.numbering;
        records::update(m_db, record, record, table);
    } else {
        record.indexNummer = nextKey();
        record.kurzbezeichnung = entry.shortName;
        record.langbezeichnung = entry.longName;
        record.nummerierung = mediaType ? entry.numbering.value_or(0) : 0;
        records::insert(m_db, record, table);
    }
    if (mediaType && entry.cover) {
        CoverLayoutRecord cover = *entry.cover;
        cover.indexNummer = record.indexNummer;
        if (records::update(m_db, cover, cover) == 0)
            records::insert(m_db, cover);
    }
    m_db.notifier().announce(Change::Lookups);
    transaction.commit();
    return record.indexNummer;
}

DeleteOutcome LookupStore::remove(double key) {
    if (key <= 0)
        return DeleteOutcome::Reserved;
    Transaction transaction(m_db);
    if (!find(key))
        return DeleteOutcome::Missing;
    if (isInUse(key))
        return DeleteOutcome::InUse;
    if (m_kind == lookup::kMediaTypes) {
        CoverLayoutRecord cover;
        cover.indexNummer = key;
        records::remove(m_db, cover);
    }
    LookupRecord record;
    record.indexNummer = key;
    records::remove(m_db, record, tableOfKind(m_kind));
    m_db.notifier().announce(Change::Lookups);
    transaction.commit();
    return DeleteOutcome::Deleted;
}
