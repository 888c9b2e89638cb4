#pragma once

#include "core/db/records.h"

#include <optional>
#include <vector>

class Database;

// What "&Löschen" would decide about an entry.
enum class EntryState {
    Reserved, // numbered 0 or less: never changed or deleted through the windows
    InUse,    // still referred to
    Free,
};

enum class DeleteOutcome { Deleted, Reserved, InUse, Missing };

// A lookup entry as an edit window saves it.
struct LookupEntry {
    std::optional<double> key; // none: a new entry, numbered when saved
    QString shortName;
    QString longName;
    // Media types only. Written when set; a new entry without it stores 0. Left alone
    // otherwise, because the carrier entry window advances it meanwhile.
    std::optional<double> numbering;
    // Media types only: the cover print layout saved with the entry.
    std::optional<CoverLayoutRecord> cover;
};

// One of the eight lookup tables (kinds 0..7). Every change is one transaction; database
// failures arrive as DbError.
class LookupStore {
public:
    LookupStore(Database& db, int kind);

    int kind() const { return m_kind; }

    // In the selection window's order: key order, the video kinds by short name.
    std::vector<LookupRecord> list() const;
    // In key order, as the printed list has them.
    std::vector<LookupRecord> listByKey() const;
    std::optional<LookupRecord> find(double key) const;
    // Media types: the cover layout of the entry, if it has one.
    std::optional<CoverLayoutRecord> findCover(double key) const;

    bool isInUse(double key) const;
    EntryState state(double key) const;
    // The key a new entry receives: the highest key plus 1, never below 1.
    double nextKey() const;

    // Saves the entry (and, for a media type, its cover layout) and returns its key.
    double save(const LookupEntry& entry);
    // Deletes an entry that is neither reserved nor in use; a media type's cover layout goes
    // with it. The in-use test runs inside the deleting transaction.
    DeleteOutcome remove(double key);

private:
    Database& m_db;
    int m_kind;
};

// The cover layout a media type without a stored one prints with.
CoverLayoutRecord defaultCoverLayout(double key);
