#include "reportregistry.h"

#include "core/lending/lendinglistreport.h"
#include "core/lending/reminderreport.h"
#include "core/lookup/lookuplist.h"
#include "core/printing/carrierreport.h"
#include "core/printing/coverreport.h"
#include "core/printing/medialistreport.h"
#include "core/printing/statisticsreport.h"

const QList<ReportEntry>& reportRegistry() {
    static const QList<ReportEntry> reports = {
        {QStringLiteral("lookup"), QStringLiteral("TABELLE"), lookuplist::composeReport},
        {QStringLiteral("carrier"), QStringLiteral("TRÄGER"), carrierreport::composeCarrier},
        {QStringLiteral("all"), QStringLiteral("[--no-page-feed]"), carrierreport::composeAll},
        {QStringLiteral("cover"), QStringLiteral("TRÄGER [--type KURZ]"),
         coverreport::composeCover},
        {QStringLiteral("reminder"), QStringLiteral("TRÄGER"), reminderreport::compose},
        {QStringLiteral("lendings"), QStringLiteral("[LEIHER] [--open | --returned]"),
         lendinglistreport::compose},
        {QStringLiteral("statistics"), QStringLiteral("ART"), statisticsreport::compose},
        {QStringLiteral("list"),
         QStringLiteral("[--select types|states|directions] [--codes N,...] [--sort alpha|number] "
                        "[--bought-after TT.MM.JJJJ]"),
         medialistreport::compose},
    };
    return reports;
}
