#pragma once

#include "core/db/records.h"
#include "lookupstore.h"

#include <optional>
#include <vector>

class Database;
struct Settings;

// A currency as its edit window saves it.
struct CurrencyEntry {
    std::optional<qint32> key; // none: a new currency, numbered when saved
    QString shortName;         // "Currency"
    QString longName;          // "Currency long"
    double factor = 1;
};

// "Currency.DB". Every change is one transaction; database failures arrive as DbError.
class CurrencyStore {
public:
    // The settings name the current and the old currency, which count as in use.
    CurrencyStore(Database& db, const Settings& settings);

    std::vector<CurrencyRecord> list() const; // "Index" order
    std::optional<CurrencyRecord> find(qint32 key) const;

    bool isInUse(qint32 key) const;
    EntryState state(qint32 key) const;
    qint32 nextKey() const;

    qint32 save(const CurrencyEntry& entry);
    DeleteOutcome remove(qint32 key);

private:
    Database& m_db;
    const Settings& m_settings;
};
