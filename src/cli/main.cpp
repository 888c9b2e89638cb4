// diskarium-tool: the data set without a window.
#include "backupcommands.h"
#include "cdcommands.h"
#include "console.h"
#include "consolemessageservice.h"
#include "core/db/dataset.h"
#include "core/db/startupchecks.h"
#include "printcommand.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <memory>

namespace {

int usage() {
    err() << "Aufruf:\n"
             "  diskarium-tool init VERZEICHNIS\n"
             "      legt den mitgelieferten Datenbestand in VERZEICHNIS an\n"
             "  diskarium-tool check VERZEICHNIS [--reindex] [--yes]\n"
             "      prüft Datendateien, Indizes und Tabellenformate; --reindex baut alle Indizes "
             "neu,\n"
             "      --yes beantwortet Umstellungsfragen mit OK\n"
             "  diskarium-tool backup DATENVERZEICHNIS ARCHIV [--max-size BYTES]\n"
             "      sichert den Datenbestand in ARCHIV (mit --max-size auf mehrere Dateien "
             "verteilt)\n"
             "  diskarium-tool restore ARCHIV DATENVERZEICHNIS\n"
             "      stellt den Datenbestand aus ARCHIV wieder her\n"
             "  diskarium-tool list ARCHIV\n"
             "      zeigt Titel, Dateien und Datenträger einer Sicherung\n"
             "  diskarium-tool discid QUELLE [--verbose]\n"
             "      liest das Inhaltsverzeichnis einer CD (/dev/sr0) oder eines CD-Abbilds (.cue)\n"
             "  diskarium-tool cddb QUELLE (--host HOST --port PORT | --http URL) --user E-MAIL\n"
             "                [--read N] [--verbose]\n"
             "      fragt einen CDDB-Server (cddbp oder HTTP/HTTPS) nach der CD; --read N liest\n"
             "      Treffer N; --verbose zeigt die Meldungen von libcdio\n"
             "  diskarium-tool musicbrainz QUELLE [--server URL] [--cover-server URL]\n"
             "                [--user E-MAIL] [--read N [--cover DATEI]] [--verbose]\n"
             "      fragt MusicBrainz nach der CD; --read N zeigt Ausgabe N, --cover speichert\n"
             "      ihr Titelbild (JPEG)\n"
          << printUsage()
          << "      schreibt einen Bericht als PDF-Datei, wie ihn der Drucker \"PDF-Datei\" "
             "druckt\n";
    err().flush();
    return 2;
}

int init(const QStringList& args) {
    if (args.size() != 1)
        return usage();
    try {
        dataset::create(args[0]);
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
    if (!startupchecks::checkAndRebuildIndexes(db, reindex, messages, {}, &rebuilt))
        return 1;
    for (const QString& table : rebuilt)
        out() << "Indizes neu aufgebaut: " << table << Qt::endl;
    if (!startupchecks::checkAndUpgradeFormats(db, messages))
        return 1;
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
    return usage();
}
