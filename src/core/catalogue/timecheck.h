#pragma once

#include "core/db/database.h"

#include <optional>
#include <vector>

// The total-time check: the entered total time and song count of a carrier against those
// computed from its songs. Times add as playing times and compare in whole hundredths.
namespace timecheck {

struct Result {
    double enteredTime = 0;
    double computedTime = 0;
    qint64 enteredCount = 0;
    qint64 computedCount = 0;
    bool timeDiffers() const;
    bool countDiffers() const;
    bool differs() const { return timeDiffers() || countDiffers(); }
};

Result compute(double enteredTime, qint64 enteredCount, const std::vector<double>& songTimes);
// From the stored carrier and its songs; nothing when the carrier does not exist.
std::optional<Result> forCarrier(Database& db, double carrierNumber);
// Takes over the computed time and/or count. Throws DbError.
void apply(Database& db, double carrierNumber, const Result& result, bool takeTime, bool takeCount);

} // namespace timecheck
