#include "reportregistry.h"

#include "core/lookup/lookuplist.h"

const QList<ReportEntry>& reportRegistry() {
    static const QList<ReportEntry> reports = {
        {QStringLiteral("lookup"), QStringLiteral("TABELLE"), lookuplist::composeReport},
    };
    return reports;
}
