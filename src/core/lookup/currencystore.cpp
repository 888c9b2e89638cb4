#include "currencystore.h"

#include "core/db/database.h"
#include "core/db/recordaccess.h"
#include "core/settings/settings.h"

#include <algorithm>

CurrencyStore::CurrencyStore(Database& db, const Settings& settings)
    : m_db(db), m_settings(settings) {}

std::vector<CurrencyRecord> CurrencyStore::list() const {
    return records::select<CurrencyRecord>(m_db, QStringLiteral("ORDER BY \"Index\""));
}

std::optional<CurrencyRecord> CurrencyStore::find(qint32 key) const {
    CurrencyRecord k;
    k.index = key;
    return records::find(m_db, k);
}

bool CurrencyStore::isInUse(qint32 key) const {
    // New carriers receive "New"; prices without a currency fall back to "Old".
    if (key == m_settings.currencyNew || key == m_settings.currencyOld)
        return true;
    Statement s = m_db.prepare(
        QStringLiteral("SELECT 1 FROM \"MusikInformation\" WHERE \"Currency\" = :Key LIMIT 1"));
    s.bind(":Key", qint64(key));
    return s.next();
}

EntryState CurrencyStore::state(qint32 key) const {
    if (key <= 0)
        return EntryState::Reserved;
    return isInUse(key) ? EntryState::InUse : EntryState::Free;
}

qint32 CurrencyStore::nextKey() const {
    return qint32(
        std::max(1.0, records::nextKey(m_db, records::tableOf<CurrencyRecord>(), u"Index")));
}

qint32 CurrencyStore::save(const CurrencyEntry& entry) {
    Transaction transaction(m_db);
    CurrencyRecord record;
    record.index = entry.key ? *entry.key : nextKey();
    record.currency = entry.shortName;
    record.currencyLong = entry.longName;
    record.factor = entry.factor;
    if (entry.key) {
        if (records::update(m_db, record, record) == 0)
            throw DbError(DbError::Kind::Other,
                          QStringLiteral("Der Datensatz ist nicht mehr vorhanden."));
    } else {
        records::insert(m_db, record);
    }
    m_db.notifier().announce(Change::Lookups);
    transaction.commit();
    return record.index;
}

DeleteOutcome CurrencyStore::remove(qint32 key) {
    if (key <= 0)
        return DeleteOutcome::Reserved;
    Transaction transaction(m_db);
    if (!find(key))
        return DeleteOutcome::Missing;
    if (isInUse(key))
        return DeleteOutcome::InUse;
    CurrencyRecord record;
    record.index = key;
    records::remove(m_db, record);
    m_db.notifier().announce(Change::Lookups);
    transaction.commit();
    return DeleteOutcome::Deleted;
}
