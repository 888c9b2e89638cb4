#include "usage.h"

#include "console.h"
#include "printcommand.h"

#include <vector>

namespace usagetext {

namespace {

struct Entry {
    const char16_t* name;
    const char16_t* synopsis; // null: the print command lists its reports itself
    const char16_t* description;
};

// In the order of the full text; continuation lines are indented below their command.
const std::vector<Entry>& table() {
    static const std::vector<Entry> entries = {
        {u"init", u"  diskarium-tool init VERZEICHNIS\n",
         u"      legt den mitgelieferten Datenbestand in VERZEICHNIS an\n"},
        {u"check", u"  diskarium-tool check VERZEICHNIS [--reindex] [--yes]\n",
         u"      prüft Datendateien, Indizes, Tabellenformate und ob jedes Lied, jeder Text,\n"
         u"      jedes Bild und jeder Verleih zu einem Tonträger gehört; --reindex baut alle\n"
         u"      Indizes neu, --yes beantwortet Umstellungsfragen mit OK; --reindex nur, solange\n"
         u"      Diskarium die Daten nicht verwendet\n"},
        {u"backup", u"  diskarium-tool backup DATENVERZEICHNIS ARCHIV [--max-size BYTES]\n",
         u"      sichert den Datenbestand in ARCHIV (mit --max-size auf mehrere Dateien "
         u"verteilt)\n"},
        {u"restore", u"  diskarium-tool restore ARCHIV DATENVERZEICHNIS\n",
         u"      stellt den Datenbestand aus ARCHIV wieder her (nicht, solange Diskarium die\n"
         u"      Daten verwendet)\n"},
        {u"list", u"  diskarium-tool list ARCHIV\n",
         u"      zeigt Titel, Dateien und Datenträger einer Sicherung\n"},
        {u"discid", u"  diskarium-tool discid QUELLE [--verbose]\n",
         u"      liest das Inhaltsverzeichnis einer CD (/dev/sr0) oder eines CD-Abbilds (.cue)\n"},
        {u"cddb",
         u"  diskarium-tool cddb QUELLE (--host HOST --port PORT | --http URL) --user E-MAIL\n"
         u"                [--read N] [--verbose]\n",
         u"      fragt einen CDDB-Server (cddbp oder HTTP/HTTPS) nach der CD; --read N liest\n"
         u"      Treffer N; --verbose zeigt die Meldungen von libcdio\n"},
        {u"musicbrainz",
         u"  diskarium-tool musicbrainz QUELLE [--server URL] [--cover-server URL]\n"
         u"                [--user E-MAIL] [--read N [--cover DATEI]] [--verbose]\n",
         u"      fragt MusicBrainz nach der CD; --read N zeigt Ausgabe N, --cover speichert\n"
         u"      ihr Titelbild (JPEG)\n"},
        {u"add-cd",
         u"  diskarium-tool add-cd VERZEICHNIS QUELLE... --type KURZ [--group G] [--title T]\n"
         u"      [--number N] [--host HOST --port PORT --user NAME [--hit N]]\n"
         u"      [--musicbrainz [--server URL] [--cover-server URL] [--user E-MAIL] [--hit N]\n"
         u"      [--cover]] [--allow-duplicate]\n",
         u"      speichert einen neuen Tonträger aus CDs (1, 2, ...) und gibt seine Nummer aus;\n"
         u"      Titel, Jahr und Musikrichtung vom CDDB-Server oder von MusicBrainz, --cover\n"
         u"      speichert dessen Titelbild als erste Grafik\n"},
        {u"mbsearch",
         u"  diskarium-tool mbsearch (--barcode X | --catno X | --artist A --title T)\n"
         u"                [--page N] [--server URL] [--user E-MAIL]\n",
         u"      sucht Ausgaben bei MusicBrainz, 25 je Seite: Nummer, Titel, Interpret, Format,\n"
         u"      Land, Jahr, Label, Katalognummer, Barcode, Lieder und MBID je Zeile\n"},
        {u"add",
         u"  diskarium-tool add VERZEICHNIS --search (--barcode X | --catno X |\n"
         u"                --artist A --title T) [--pick N] [--cover] [--type KURZ]\n"
         u"                [--server URL] [--cover-server URL] [--user E-MAIL]\n"
         u"                [--allow-duplicate]\n",
         u"      speichert Treffer N (ab 1) der Suche als neuen Tonträger mit seinen Liedern\n"
         u"      und gibt seine Nummer aus; --type gibt die Tonträgerart vor\n"},
        {u"show", u"  diskarium-tool show VERZEICHNIS NUMMER\n",
         u"      zeigt einen Tonträger mit Liedern, Zusatztext, Prüfcodes und Grafiken\n"},
        {u"lookup", u"  diskarium-tool lookup VERZEICHNIS TABELLE\n",
         u"      listet eine Hilfstabelle (Art 0 bis 7 oder Tabellenname) oder \"Currency\"\n"},
        {u"convert",
         u"  diskarium-tool convert VERZEICHNIS PREIS [--currency INDEX] [--date TT.MM.JJJJ]\n",
         u"      rechnet einen Kaufpreis in die aktuelle Währung um\n"},
        {u"print", nullptr,
         u"      schreibt einen Bericht als PDF-Datei, wie ihn der Drucker \"PDF-Datei\" druckt\n"},
        {u"play", u"  diskarium-tool play QUELLE [--track N] [--wav DATEI]\n",
         u"      spielt die CD ab Lied N (ab 1) über die Audioausgabe; --wav schreibt Lied N\n"
         u"      als WAV-Datei, ohne zu spielen\n"},
        {u"import", u"  diskarium-tool import VERZEICHNIS DATEI...\n",
         u"      importiert Tonträgerdateien (*.DKM), jede als neuen Tonträger\n"},
        {u"export",
         u"  diskarium-tool export VERZEICHNIS TONTRÄGER DATEI [--kaufdaten] [--overwrite]\n",
         u"      schreibt einen Tonträger (ART:NUMMER wie LP:17, oder #N) in eine Datei\n"},
        {u"carriers", u"  diskarium-tool carriers VERZEICHNIS [--sort SPALTE] [--csv]\n",
         u"      listet die Tonträger wie das Fenster \"Tonträger bearbeiten\" (SPALTE: "
         u"Spaltentitel\n"
         u"      oder Standard); --csv schreibt die Liste als CSV (UTF-8, Semikolon)\n"},
        {u"template",
         u"  diskarium-tool template list VERZEICHNIS [--type N]\n"
         u"  diskarium-tool template export VERZEICHNIS NAME DATEI [--type N]\n"
         u"  diskarium-tool template import VERZEICHNIS DATEI --type N\n",
         u"      listet Druckvorlagen, schreibt eine als *.DKMT-Datei oder legt eine aus einer "
         u"an\n"},
        {u"lend", u"  diskarium-tool lend VERZEICHNIS TONTRÄGER LEIHER\n",
         u"      verleiht einen Tonträger (ART:NUMMER oder #N) an einen Leiher (#N oder Name 1)\n"},
        {u"return", u"  diskarium-tool return VERZEICHNIS TONTRÄGER\n",
         u"      nimmt einen verliehenen Tonträger zurück\n"},
        {u"history",
         u"  diskarium-tool history VERZEICHNIS [--borrower LEIHER] [--carrier TONTRÄGER]\n",
         u"      listet die Verleihvorgänge, offene zuerst, dann die neuesten zuerst\n"},
        {u"statistics", u"  diskarium-tool statistics VERZEICHNIS ART [--csv]\n",
         u"      zeigt die Statistik nach Tonträgerart (1), Musikrichtung (2), Status (3) oder\n"
         u"      Erscheinungsjahr (4) als Tabelle mit Tabulatoren oder als CSV\n"},
        {u"search",
         u"  diskarium-tool search VERZEICHNIS carriers|songs [--count] BEDINGUNG [UND|ODER "
         u"BEDINGUNG]...\n"
         u"  diskarium-tool search VERZEICHNIS carriers|songs --csv BEDINGUNG [UND|ODER "
         u"BEDINGUNG]...\n",
         u"      sucht Tonträger oder Lieder; BEDINGUNG ist FELD:VERGLEICH:WERT (etwa "
         u"Gruppe:~:beat)\n"},
        {u"import-paradox", u"  diskarium-tool import-paradox QUELLE VERZEICHNIS [--yes]\n",
         u"      übernimmt einen Datenbestand aus Paradox-Tabellen (*.DB, *.MB) in QUELLE;\n"
         u"      --yes ersetzt vorhandene Tonträger und beantwortet Umstellungsfragen mit OK\n"},
        {u"labels",
         u"  diskarium-tool labels VERZEICHNIS [--template-kind N]\n"
         u"  diskarium-tool labels VERZEICHNIS set SCHLÜSSEL NAME\n"
         u"  diskarium-tool labels VERZEICHNIS reset SCHLÜSSEL\n",
         u"      listet die Feldbezeichnungen (Schlüssel, ausgeliefert, eigene) oder die\n"
         u"      Felder einer Vorlagenart, benennt ein Feld um oder setzt es zurück\n"},
        {u"import-discogs",
         u"  diskarium-tool import-discogs VERZEICHNIS DATEI [--dry-run] [--allow-duplicate]\n",
         u"      übernimmt eine Discogs-Sammlung (CSV) als neue Tonträger, alle oder keinen;\n"
         u"      --dry-run zeigt nur, was geschähe; --allow-duplicate übernimmt auch Zeilen mit\n"
         u"      gleicher Gruppe und gleichem Titel wie ein vorhandener Tonträger\n"},
        {u"export-discogs", u"  diskarium-tool export-discogs VERZEICHNIS DATEI [--overwrite]\n",
         u"      schreibt alle Tonträger als Discogs-Sammlung (CSV, UTF-8, Komma)\n"},
    };
    return entries;
}

QString synopsisOf(const Entry& entry) {
    return entry.synopsis ? QString::fromUtf16(entry.synopsis) : printUsage();
}

} // namespace

QStringList commands() {
    QStringList names;
    for (const Entry& entry : table())
        names.append(QString::fromUtf16(entry.name));
    return names;
}

QString synopsis(const QStringList& names) {
    QString text;
    for (const Entry& entry : table())
        if (names.contains(QString::fromUtf16(entry.name)))
            text += synopsisOf(entry);
    return text;
}

QString fullText() {
    QString text = QStringLiteral("Aufruf:\n");
    for (const Entry& entry : table())
        text += synopsisOf(entry) + QString::fromUtf16(entry.description);
    return text;
}

int show(const QStringList& names, const QString& note) {
    err() << "Aufruf:\n" << synopsis(names) << note;
    err().flush();
    return 2;
}

} // namespace usagetext
