#include "carrierorigins.h"

#include "core/db/database.h"

namespace carrierorigins {

void ensureTable(Database&) {}

void write(Database&, int, const QList<CarrierOrigin>&) {}

QList<CarrierOrigin> read(Database&, int) {
    return {};
}

QList<Owned> findOwned(Database&, const Candidate&) {
    return {};
}

QString describe(const Owned&) {
    return {};
}

} // namespace carrierorigins
