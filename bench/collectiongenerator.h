#pragma once

#include "core/db/database.h"

#include <cstdint>
#include <optional>

// Fills a data set with a large, plausible collection for benchmarks: carriers with their
// information records and songs, some song details, free texts, disc codes, borrowers and
// lendings. The same seed gives the same collection.
struct CollectionSize {
    int carriers = 20000;
    int songsPerCarrier = 15;
    int borrowers = 200;
    std::uint32_t seed = 1;
    // Lendings: with lentCarriers set, these replace the random lendings of the carriers.
    std::optional<int> lentCarriers; // carriers lent at present
    int returnedLendings = 0;        // returned lendings spread over all carriers
    int heavyBorrowerLendings = 0;   // lendings of borrower 1, a fifth of them open
    // Statistics fallbacks: of every N carriers one has no information record, one the
    // currency 0, one an empty year and one a media type without a lookup row (0: none).
    int fallbackEvery = 0;
};

void generateCollection(Database& db, const CollectionSize& size);
