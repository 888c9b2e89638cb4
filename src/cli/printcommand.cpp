#include "printcommand.h"

#include "console.h"
#include "consolemessageservice.h"
#include "core/db/database.h"
#include "core/settings/settings.h"
#include "reportregistry.h"
#include "usage.h"

namespace {

int printCommandUsage() {
    return usagetext::show({QStringLiteral("print")});
}

const ReportEntry* findReport(const QString& name) {
    for (const ReportEntry& entry : reportRegistry())
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

} // namespace

QString printUsage() {
    QString text;
    const QString options =
        QStringLiteral(" [--template NAME|NUMMER] [--font NAME] [--size N] --pdf DATEI\n");
    if (reportRegistry().isEmpty())
        return QStringLiteral("  diskarium-tool print VERZEICHNIS BERICHT [ARGUMENTE]") + options;
    for (const ReportEntry& entry : reportRegistry()) {
        text += QStringLiteral("  diskarium-tool print VERZEICHNIS ") + entry.name;
        if (!entry.arguments.isEmpty())
            text += QLatin1Char(' ') + entry.arguments;
        text += options;
    }
    return text;
}

int runPrintCommand(const QStringList& args) {
    QStringList positional;
    ReportOptions options;
    QString pdf;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool shared = a == QLatin1String("--template") || a == QLatin1String("--font") ||
                            a == QLatin1String("--size") || a == QLatin1String("--pdf");
        if (!shared) {
            positional.append(a);
            continue;
        }
        if (i + 1 >= args.size())
            return printCommandUsage();
        const QString value = args[++i];
        if (a == QLatin1String("--template")) {
            options.templateChoice = value;
        } else if (a == QLatin1String("--font")) {
            options.fontName = value;
        } else if (a == QLatin1String("--pdf")) {
            pdf = value;
        } else {
            bool ok = false;
            options.fontSize = value.toInt(&ok);
            if (!ok || options.fontSize < 4 || options.fontSize > 72) {
                err() << "Fehler: --size braucht eine ganze Zahl von 4 bis 72." << Qt::endl;
                return 2;
            }
        }
    }
    if (positional.size() < 2 || pdf.isEmpty())
        return printCommandUsage();
    const QString directory = positional.takeFirst();
    const QString reportName = positional.takeFirst();
    const ReportEntry* report = findReport(reportName);
    if (!report) {
        err() << "Fehler: Einen Bericht \"" << reportName << "\" gibt es nicht." << Qt::endl;
        return printCommandUsage();
    }
    Database db;
    if (!openDataSet(directory, db))
        return 1;
    // The settings of the data set give the dialogs' defaults; the tool never writes them.
    const Settings settings = dataSetSettings(directory);
    ConsoleMessageService messages(false);
    const ReportResult result = printReportToPdf(report->compose, db, settings, directory, messages,
                                                 positional, options, pdf);
    switch (result.status) {
    case ReportStatus::BadArguments:
        return printCommandUsage();
    case ReportStatus::Failed:
        return 1;
    case ReportStatus::Composed:
        break;
    }
    out() << result.pages << " Seite(n) geschrieben: " << pdf << Qt::endl;
    return 0;
}
