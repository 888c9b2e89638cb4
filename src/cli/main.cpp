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

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <memory>

namespace {

int usage() {
    err()
        << "Aufruf:\n"
           "  diskarium-tool init VERZEICHNIS\n"
           "      legt den mitgelieferten Datenbestand in VERZEICHNIS an\n"
           "  diskarium-tool check VERZEICHNIS [--reindex] [--yes]\n"
           "      prüft Datendateien, Indizes, Tabellenformate und ob jedes Lied, jeder Text,\n"
           "      jedes Bild und jeder Verleih zu einem Tonträger gehört; --reindex baut alle\n"
           "      Indizes neu,\n"
           "      --yes beantwortet Umstellungsfragen mit OK; --reindex nur, solange Diskarium\n"
           "      die Daten nicht verwendet\n"
           "  diskarium-tool backup DATENVERZEICHNIS ARCHIV [--max-size BYTES]\n"
           "      sichert den Datenbestand in ARCHIV (mit --max-size auf mehrere Dateien "
           "verteilt)\n"
           "  diskarium-tool restore ARCHIV DATENVERZEICHNIS\n"
           "      stellt den Datenbestand aus ARCHIV wieder her (nicht, solange Diskarium die\n"
           "      Daten verwendet)\n"
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
           "  diskarium-tool add-cd VERZEICHNIS QUELLE... --type KURZ [--group G] [--title T]\n"
           "      [--number N] [--host HOST --port PORT --user NAME [--hit N]]\n"
           "      [--musicbrainz [--server URL] [--cover-server URL] [--user E-MAIL] [--hit N]\n"
           "      [--cover]]\n"
           "      speichert einen neuen Tonträger aus CDs (1, 2, ...) und gibt seine Nummer aus;\n"
           "      Titel, Jahr und Musikrichtung vom CDDB-Server oder von MusicBrainz, --cover\n"
           "      speichert dessen Titelbild als erste Grafik\n"
           "  diskarium-tool mbsearch (--barcode X | --catno X | --artist A --title T)\n"
           "                [--page N] [--server URL] [--user E-MAIL]\n"
           "      sucht Ausgaben bei MusicBrainz, 25 je Seite: Nummer, Titel, Interpret, Format,\n"
           "      Land, Jahr, Label, Katalognummer, Barcode, Lieder und MBID je Zeile\n"
           "  diskarium-tool add VERZEICHNIS --search (wie mbsearch, ohne --page) [--pick N]\n"
           "                [--cover] [--type KURZ] [--cover-server URL] [--allow-duplicate]\n"
           "      speichert Treffer N (ab 1) der Suche als neuen Tonträger mit seinen Liedern\n"
           "      und gibt seine Nummer aus; --type gibt die Tonträgerart vor\n"
           "  diskarium-tool show VERZEICHNIS NUMMER\n"
           "      zeigt einen Tonträger mit Liedern, Zusatztext, Prüfcodes und Grafiken\n"
           "  diskarium-tool lookup VERZEICHNIS TABELLE\n"
           "      listet eine Hilfstabelle (Art 0 bis 7 oder Tabellenname) oder \"Currency\"\n"
           "  diskarium-tool convert VERZEICHNIS PREIS [--currency INDEX] [--date TT.MM.JJJJ]\n"
           "      rechnet einen Kaufpreis in die aktuelle Währung um\n"
        << printUsage()
        << "      schreibt einen Bericht als PDF-Datei, wie ihn der Drucker \"PDF-Datei\" "
           "druckt\n"
           "  diskarium-tool play QUELLE [--track N] [--wav DATEI]\n"
           "      spielt die CD ab Lied N (ab 1) über die Audioausgabe; --wav schreibt Lied N\n"
           "      als WAV-Datei, ohne zu spielen\n"
           "  diskarium-tool import VERZEICHNIS DATEI...\n"
           "      importiert Tonträgerdateien (*.DKM), jede als neuen Tonträger\n"
           "  diskarium-tool export VERZEICHNIS TONTRÄGER DATEI [--kaufdaten] [--overwrite]\n"
           "      schreibt einen Tonträger (ART:NUMMER wie LP:17, oder #N) in eine Datei\n"
           "  diskarium-tool carriers VERZEICHNIS [--sort SPALTE]\n"
           "      listet die Tonträger wie das Fenster \"Tonträger bearbeiten\" (SPALTE: "
           "Spaltentitel\n"
           "      oder Standard)\n"
           "  diskarium-tool template list VERZEICHNIS [--type N]\n"
           "  diskarium-tool template export VERZEICHNIS NAME DATEI [--type N]\n"
           "  diskarium-tool template import VERZEICHNIS DATEI --type N\n"
           "      listet Druckvorlagen, schreibt eine als *.DKMT-Datei oder legt eine aus einer "
           "an\n"
           "  diskarium-tool lend VERZEICHNIS TONTRÄGER LEIHER\n"
           "      verleiht einen Tonträger (ART:NUMMER oder #N) an einen Leiher (#N oder Name 1)\n"
           "  diskarium-tool return VERZEICHNIS TONTRÄGER\n"
           "      nimmt einen verliehenen Tonträger zurück\n"
           "  diskarium-tool history VERZEICHNIS [--borrower LEIHER] [--carrier TONTRÄGER]\n"
           "      listet die Verleihvorgänge, offene zuerst, dann die neuesten zuerst\n"
           "  diskarium-tool statistics VERZEICHNIS ART [--csv]\n"
           "      zeigt die Statistik nach Tonträgerart (1), Musikrichtung (2), Status (3) oder\n"
           "      Erscheinungsjahr (4) als Tabelle mit Tabulatoren oder als CSV\n"
           "  diskarium-tool search VERZEICHNIS carriers|songs [--count|--csv] BEDINGUNG [UND|ODER "
           "BEDINGUNG]...\n"
           "      sucht Tonträger oder Lieder; BEDINGUNG ist FELD:VERGLEICH:WERT (etwa "
           "Gruppe:~:beat)\n"
           "  diskarium-tool import-paradox QUELLE VERZEICHNIS [--yes]\n"
           "      übernimmt einen Datenbestand aus Paradox-Tabellen (*.DB, *.MB) in QUELLE;\n"
           "      --yes ersetzt vorhandene Tonträger und beantwortet Umstellungsfragen mit OK\n"
           "  diskarium-tool carriers VERZEICHNIS [--sort SPALTE] --csv\n"
           "      schreibt die Tonträgerliste als CSV (UTF-8, Semikolon) auf die "
           "Standardausgabe\n"
           "  diskarium-tool labels VERZEICHNIS [--template-kind N]\n"
           "  diskarium-tool labels VERZEICHNIS set SCHLÜSSEL NAME\n"
           "  diskarium-tool labels VERZEICHNIS reset SCHLÜSSEL\n"
           "      listet die Feldbezeichnungen (Schlüssel, ausgeliefert, eigene) oder die\n"
           "      Felder einer Vorlagenart, benennt ein Feld um oder setzt es zurück\n"
           "  diskarium-tool import-discogs VERZEICHNIS DATEI [--dry-run] [--allow-duplicate]\n"
           "      übernimmt eine Discogs-Sammlung (CSV) als neue Tonträger, alle oder keinen;\n"
           "      --dry-run zeigt nur, was geschähe; --allow-duplicate übernimmt auch Zeilen mit\n"
           "      gleicher Gruppe und gleichem Titel wie ein vorhandener Tonträger\n"
           "  diskarium-tool export-discogs VERZEICHNIS DATEI [--overwrite]\n"
           "      schreibt alle Tonträger als Discogs-Sammlung (CSV, UTF-8, Komma)\n";
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
