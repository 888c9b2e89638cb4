#pragma once

#include "cdreading.h"
#include "core/db/database.h"
#include "core/db/records.h"

#include <QDate>
#include <optional>
#include <vector>

// A song as the song page edits it, with its information record.
struct SongData {
    SongRecord song;
    SongInfoRecord info;
};

// The songs of a carrier: listed by side and number, saved and deleted together with
// their information records, each change one transaction.
class SongStore {
public:
    explicit SongStore(Database& db) : m_db(db) {}

    std::vector<SongRecord> songs(int carrier);
    // The information record of a song, or a new one (BPM 0 and 0, dance style 0).
    SongInfoRecord info(int carrier, double side, double number);
    bool hasAnyInfo(int carrier);

    // Stores a new song (originalSide/Number empty) or a changed one. The information
    // record follows a changed side or number; the carrier's "ChangeDate" is set. Throws
    // DbError.
    void save(int carrier, SongData& data, std::optional<std::pair<double, double>> originalKey,
              const QDate& today);
    // Deletes the song and its information record in one transaction.
    void remove(int carrier, double side, double number);

    // The first song of an empty carrier.
    static SongData firstSong(const CarrierRecord& carrier);
    // The song proposed by "Neu" after the last song, with the dance style shown before.
    static SongData nextSong(const SongRecord& last, const OptNumber& danceStyle);
    // The reading's songs, else one song per track read, each disc on its own side, inside the
    // caller's transaction.
    static void createFromReading(Database& db, int carrier, const CarrierRecord& record,
                                  const CdReading& reading);

private:
    Database& m_db;
};
