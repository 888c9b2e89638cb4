#pragma once

#include "cdreading.h"
#include "core/db/database.h"
#include "core/db/records.h"

#include <QDate>
#include <optional>
#include <vector>

struct Settings;

// A carrier as the entry window edits it: its record and its information record.
struct CarrierData {
    CarrierRecord carrier;
    CarrierInfoRecord info;
    bool infoStored = false; // the information record exists in the table
    bool operator==(const CarrierData&) const = default;
};

// Which field a failed check concerns, so the window can focus it.
enum class CarrierField { None, Group, MediaType, MusicDirection, Status, TotalTime };

struct CarrierCheck {
    CarrierField field = CarrierField::None;
    QString message;
    int helpContext = 0;
    bool ok() const { return field == CarrierField::None; }
};

// Reading and storing carriers with their information record. Every save is one
// transaction; a carrier is found and updated by its carrier number, since its primary
// key is what the user edits.
class CarrierStore {
public:
    explicit CarrierStore(Database& db) : m_db(db) {}

    // The values of a new carrier before its first save.
    static CarrierData newCarrier(const Settings& settings, const QDate& today);

    std::optional<CarrierData> load(int number);
    // Whether a carrier of that number is stored (another window may have deleted it).
    static bool stored(Database& db, int number);

    // The checks every save runs: seconds of the total time, group, and media type, music
    // direction and status present in their tables.
    CarrierCheck check(const CarrierRecord& carrier);

    // The first save of a new carrier: carrier, information record, disc codes, and when a
    // server knew a disc the free text and the songs; advances the media type's counter
    // under per-type numbering. Returns the carrier number. Throws DbError, leaving nothing
    // stored; a key violation comes from the carrier's own key only.
    int saveNew(CarrierData& data, const CdReading* reading, bool globalNumbering,
                const QDate& today);
    // saveNew's work inside the caller's transaction, for several new carriers stored
    // all or nothing. Throws DbError; the caller rolls back.
    int insertNew(CarrierData& data, const CdReading* reading, bool globalNumbering,
                  const QDate& today);

    // Saves a stored carrier. "Status" is written only when it differs from
    // loadedStatus, so a lending done meanwhile survives. Throws DbError.
    void saveExisting(int number, CarrierData& data, const OptNumber& loadedStatus,
                      const QDate& today);

    // "ChangeDate" of the carrier's information record set to today, inside the caller's
    // transaction; the record is created when missing.
    static void touch(Database& db, int number, const QDate& today);

    // Rows of a lookup table in the order of their short names; currencies by code.
    std::vector<LookupRecord> lookupRows(const QString& table);
    std::vector<CurrencyRecord> currencies();
    // The counter of a media type ("Nummerierung" of MUSIKART), 0 when none.
    int typeCounter(double mediaType);

private:
    bool lookupExists(const char* table, const OptNumber& key);
    void saveInfo(int number, CarrierData& data, const QDate& today);

    Database& m_db;
};
