#include "timecheck.h"

#include "core/common/laufzeit.h"

namespace timecheck {

bool Result::timeDiffers() const {
    return laufzeit::toHundredths(enteredTime) != laufzeit::toHundredths(computedTime);
}

bool Result::countDiffers() const {
    return enteredCount != computedCount;
}

Result compute(double enteredTime, qint64 enteredCount, const std::vector<double>& songTimes) {
    Result r;
    r.enteredTime = enteredTime;
    r.enteredCount = enteredCount;
    for (double t : songTimes)
        r.computedTime = laufzeit::add(r.computedTime, t);
    r.computedCount = qint64(songTimes.size());
    return r;
}

std::optional<Result> forCarrier(Database& db, double carrierNumber) {
    Statement k = db.prepare(u"SELECT \"Laufzeit der Schallplatte\", \"Anzahl der Lieder\" FROM "
                             u"\"MUSIKKOP\" WHERE \"Folgenummer Kopf\" = ?");
    k.bind(1, carrierNumber);
    if (!k.next())
        return std::nullopt;
    const double time = k.toDouble(0);
    const qint64 count = qint64(k.toDouble(1));
    Statement s = db.prepare(u"SELECT \"Laufzeit des Liedes\" FROM \"MUSIKPOS\" WHERE "
                             u"\"Folgenummer Position\" = ? ORDER BY \"Seite der Schallplatte\", "
                             u"\"Nr. des Liedes\"");
    s.bind(1, carrierNumber);
    std::vector<double> times;
    while (s.next())
        times.push_back(s.toDouble(0));
    return compute(time, count, times);
}

void apply(Database& db, double carrierNumber, const Result& result, bool takeTime,
           bool takeCount) {
    if (!takeTime && !takeCount)
        return;
    Statement s = db.prepare(
        u"UPDATE \"MUSIKKOP\" SET \"Laufzeit der Schallplatte\" = CASE WHEN ?1 THEN ?2 ELSE "
        u"\"Laufzeit der Schallplatte\" END, \"Anzahl der Lieder\" = CASE WHEN ?3 THEN ?4 ELSE "
        u"\"Anzahl der Lieder\" END WHERE \"Folgenummer Kopf\" = ?5");
    s.bind(1, takeTime);
    s.bind(2, result.computedTime);
    s.bind(3, takeCount);
    s.bind(4, double(result.computedCount));
    s.bind(5, carrierNumber);
    s.run();
    db.notifier().announce(Change::Carriers, int(carrierNumber));
}

} // namespace timecheck
