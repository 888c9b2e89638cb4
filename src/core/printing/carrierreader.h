#pragma once

#include "carriernames.h"
#include "core/db/statement.h"

#include <optional>
#include <vector>

class Database;

// Reads carriers with their details one at a time through statements prepared once, so a
// report over the whole collection never holds more than one carrier.
class CarrierReader {
public:
    explicit CarrierReader(Database& db);

    std::optional<CarrierPrintData> read(int carrierNumber);
    // Every carrier number in the order of "Folgenummer Kopf".
    std::vector<int> allNumbers();

private:
    Database& m_db;
    Statement m_carrier, m_info, m_songs, m_songInfos, m_text;
};
