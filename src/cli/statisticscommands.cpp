#include "statisticscommands.h"

#include "console.h"
#include "core/db/database.h"
#include "core/printing/statistics.h"
#include "core/settings/settings.h"
#include "usage.h"

namespace {

int statisticsUsage() {
    return usagetext::show(
        {QStringLiteral("statistics")},
        QStringLiteral(
            "      ART: 1 Tonträgerarten, 2 Musikrichtungen, 3 Status, 4 Erscheinungsjahre\n"));
}

} // namespace

int runStatisticsCommand(const QStringList& arguments) {
    QStringList args = arguments;
    const bool csvOutput = args.removeAll(QStringLiteral("--csv")) > 0;
    if (args.size() != 2)
        return statisticsUsage();
    bool ok = false;
    const int kind = args[1].toInt(&ok);
    if (!ok || !statistics::validKind(kind))
        return statisticsUsage();
    Database db;
    if (!openDataSet(args[0], db))
        return 1;
    const Settings settings = dataSetSettings(args[0]);
    try {
        const statistics::Table table = statistics::count(db, settings, kind);
        if (csvOutput)
            return writeToStandardOutput(
                [&](QIODevice* output) { return statistics::writeCsv(table, output); });
        const QChar tab = QLatin1Char('\t');
        out() << statistics::titleRow().join(tab) << '\n';
        for (const statistics::Row& row : table.rows)
            out() << statistics::displayRow(row, table.currency).join(tab) << '\n';
        out() << statistics::totalRow(table).join(tab) << Qt::endl;
    } catch (const DbError& e) {
        err() << "Fehler: " << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}
