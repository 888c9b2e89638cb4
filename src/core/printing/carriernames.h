#pragma once

#include "core/db/records.h"
#include "templateinterpreter.h"

#include <map>
#include <optional>
#include <vector>

class Database;

// The lookup tables a carrier report needs, read once per report.
struct ReportLookups {
    std::map<int, LookupRecord> mediaTypes;  // "MUSIKART"
    std::map<int, LookupRecord> directions;  // "MUSIKDIR"
    std::map<int, LookupRecord> states;      // "MUSIKSTA"
    std::map<int, LookupRecord> danceStyles; // "MusikTanzStil"
    std::map<int, CurrencyRecord> currencies;

    static ReportLookups read(Database& db);
    // The row for a code; null when the code has none.
    static const LookupRecord* find(const std::map<int, LookupRecord>& table,
                                    const std::optional<double>& code);
};

// One carrier with everything a carrier template can name.
struct CarrierPrintData {
    CarrierRecord carrier;
    std::optional<CarrierInfoRecord> info;
    std::vector<SongRecord> songs;                        // in side and song number order
    std::vector<std::optional<SongInfoRecord>> songInfos; // one per song
    QString additionalText;                               // CR LF lines, empty when there is none
};

// The carrier names of list and carrier templates, for the carrier set with setCarrier.
class CarrierNames : public TemplateNames {
public:
    explicit CarrierNames(const ReportLookups& lookups) : m_lookups(lookups) {}
    void setCarrier(const CarrierRecord* carrier, const CarrierInfoRecord* info) {
        m_carrier = carrier;
        m_info = info;
    }
    std::optional<TemplateValue> resolve(const QString& name) const override;

private:
    const ReportLookups& m_lookups;
    const CarrierRecord* m_carrier = nullptr;
    const CarrierInfoRecord* m_info = nullptr;
};

// The song names of carrier templates; without a song set, every field is empty.
class SongNames : public TemplateNames {
public:
    explicit SongNames(const ReportLookups& lookups) : m_lookups(lookups) {}
    void setSong(const SongRecord* song, const SongInfoRecord* info) {
        m_song = song;
        m_info = info;
    }
    std::optional<TemplateValue> resolve(const QString& name) const override;

private:
    const ReportLookups& m_lookups;
    const SongRecord* m_song = nullptr;
    const SongInfoRecord* m_info = nullptr;
};
