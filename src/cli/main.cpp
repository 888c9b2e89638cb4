// diskarium-tool: the data set without a window.
#include "backupcommands.h"
#include "cataloguecommands.h"
#include "cdcommands.h"
#include "console.h"
#include "consolemessageservice.h"
#include "core/db/dataset.h"
#include "core/db/soundness.h"
#include "core/db/startupchecks.h"
#include "core/shell/datadirectorylock.h"
#include "discogscommands.h"
#include "labelcommands.h"
#include "lendingcommands.h"
#include "lookupcommands.h"
#include "mbsearchcommands.h"
#include "medialistcommands.h"
#include "paradoxcommands.h"
#include "playcommand.h"
#include "printcommand.h"
#include "searchcommands.h"
#include "statisticscommands.h"
#include "templatecommands.h"
#include "usage.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <memory>

namespace {

int usage() {
    err() << usagetext::fullText();
    err().flush();
    return 2;
}

int init(const QStringList& args) {
    if (args.size() != 1)
        return usage();
    try {
        dataset::create(args[0]);
        dataset::installDeliveredFiles(args[0]);
    } catch (const DbError& e) {
        err() << "Fehler: " << e.message() << Qt::endl;
        return 1;
    }
    out() << "Datenbestand angelegt: " << dataset::databasePath(args[0]) << Qt::endl;
    return 0;
}

int check(const QStringList& args) {
    QString directory;
    bool reindex = false, yes = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--reindex"))
            reindex = true;
        else if (a == QLatin1String("--yes"))
            yes = true;
        else if (directory.isEmpty() && !a.startsWith(QLatin1String("--")))
            directory = a;
        else
            return usage();
    }
    if (directory.isEmpty())
        return usage();
    // Rebuilding every index under a running program is refused; single repairs go
    // through SQLite's own locking beside it, but never under a restore.
    DataDirectoryLock lock(directory, reindex ? DataDirectoryLock::Mode::Replace
                                              : DataDirectoryLock::Mode::Writer);
    QString refusal;
    if (dataset::exists(directory) && !lock.tryLock(&refusal)) {
        err() << refusal << Qt::endl;
        return 1;
    }
    ConsoleMessageService messages(yes);
    Database db;
    try {
        db.open(dataset::databasePath(directory));
    } catch (const DbError& e) {
        err() << "Fehler: " << e.message() << Qt::endl;
        return 1;
    }
    if (!startupchecks::checkDataFiles(db, messages))
        return 1;
    QStringList rebuilt;
    startupchecks::Hooks hooks;
    hooks.pageChecked = [](const QString& table, bool passed) {
        if (!passed)
            err() << "Beschädigte Seiten in " << table << Qt::endl;
    };
    if (!startupchecks::checkAndRebuildIndexes(db, reindex, messages, hooks, &rebuilt))
        return 1;
    for (const QString& table : rebuilt)
        out() << "Indizes neu aufgebaut: " << table << Qt::endl;
    if (!startupchecks::checkAndUpgradeFormats(db, messages))
        return 1;
    try {
        // Records that read but contradict each other: damage no index check sees.
        const std::vector<soundness::Violation> damage = soundness::check(db);
        for (const soundness::Violation& v : damage)
            err() << v.describe() << Qt::endl;
        if (!damage.empty()) {
            err() << "Der Datenbestand ist nicht in Ordnung: " << damage.size() << " Fehler."
                  << Qt::endl;
            return 1;
        }
    } catch (const DbError& e) {
        err() << "Fehler: " << e.message() << Qt::endl;
        return 1;
    }
    out() << "Datenbestand in Ordnung." << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // Reports measure fonts and write PDF: they need the GUI library, but never a display.
    const bool printing = argc > 1 && qstrcmp(argv[1], "print") == 0;
    if (printing)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app = printing
                                                ? std::make_unique<QGuiApplication>(argc, argv)
                                                : std::make_unique<QCoreApplication>(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCoreApplication::setApplicationName(QStringLiteral("diskarium-tool"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.5.0"));
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("init"))
        return init(args);
    if (command == QLatin1String("check"))
        return check(args);
    if (command == QLatin1String("backup"))
        return runBackupCommand(args);
    if (command == QLatin1String("restore"))
        return runRestoreCommand(args);
    if (command == QLatin1String("list"))
        return runListCommand(args);
    if (command == QLatin1String("discid"))
        return runDiscIdCommand(args);
    if (command == QLatin1String("cddb"))
        return runCddbCommand(args);
    if (command == QLatin1String("print"))
        return runPrintCommand(args);
    if (command == QLatin1String("musicbrainz"))
        return runMusicBrainzCommand(args);
    if (command == QLatin1String("add-cd"))
        return runAddCdCommand(args);
    if (command == QLatin1String("mbsearch"))
        return runMbSearchCommand(args);
    if (command == QLatin1String("add"))
        return runAddCommand(args);
    if (command == QLatin1String("show"))
        return runShowCommand(args);
    if (command == QLatin1String("play"))
        return runPlayCommand(args);
    if (command == QLatin1String("lookup"))
        return runLookupCommand(args);
    if (command == QLatin1String("convert"))
        return runConvertCommand(args);
    if (command == QLatin1String("import"))
        return runImportCommand(args);
    if (command == QLatin1String("export"))
        return runExportCommand(args);
    if (command == QLatin1String("carriers"))
        return runCarriersCommand(args);
    if (command == QLatin1String("template"))
        return runTemplateCommand(args);
    if (command == QLatin1String("lend"))
        return runLendCommand(args);
    if (command == QLatin1String("return"))
        return runReturnCommand(args);
    if (command == QLatin1String("history"))
        return runHistoryCommand(args);
    if (command == QLatin1String("statistics"))
        return runStatisticsCommand(args);
    if (command == QLatin1String("search"))
        return runSearchCommand(args);
    if (command == QLatin1String("import-paradox"))
        return runImportParadoxCommand(args);
    if (command == QLatin1String("labels"))
        return runLabelsCommand(args);
    if (command == QLatin1String("import-discogs"))
        return runImportDiscogsCommand(args);
    if (command == QLatin1String("export-discogs"))
        return runExportDiscogsCommand(args);
    return usage();
}
