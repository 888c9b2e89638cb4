#include "reportregistry.h"

const QList<ReportEntry>& reportRegistry() {
    static const QList<ReportEntry> reports = {};
    return reports;
}
