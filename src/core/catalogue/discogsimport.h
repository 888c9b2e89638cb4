#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <functional>

class Database;
struct Settings;

// Taking a Discogs collection export (CSV) into the collection. The file is read row by
// row; each row is judged against the collection as it was before the import, so one
// release twice in the file gives two copies. Nothing here writes to standard output or
// asks anything: the tool and the preview window show the rows.
namespace discogs {

enum class Result {
    New,         // "neu": would be stored
    Owned,       // "vorhanden": already in the collection
    UnknownType, // "Art unbekannt": the format names no media type of the collection
    Error,       // "Fehler": the row cannot be read; nothing of the file is stored
    Stored,      // "übernommen": stored by the real run
};

// "neu", "vorhanden", "Art unbekannt", "Fehler", "übernommen".
QString resultText(Result result);

// One row of the file as the preview and the tool show it.
struct RowOutcome {
    int line = 0; // the line of the file on which the row starts (the header is line 1)
    Result result = Result::New;
    QString group; // as it would be stored ("Gruppe/Interpret/Text 1")
    QString title; // "Text 2"
    QString type;  // the media type's short name; for an unknown type the name looked for
    // "Nr. 42" (stored), "wie Nr. 17 (Discogs)", "wie Nr. 17 (Gruppe/Titel)" (owned; also on
    // a group-and-title match stored with allowDuplicate), the error text of a "Fehler" row.
    QString note;
    int number = 0; // the stored carrier's number, or the owned one's
};

struct Counts {
    int added = 0; // rows "neu" (dry run) or "übernommen" (real run)
    int owned = 0;
    int unknownType = 0;
    int errors = 0;
};
// "Neu: 3, vorhanden: 2, Art unbekannt: 1, Fehler: 0".
QString summaryText(const Counts& counts);

struct Options {
    // Rows whose group and title match a carrier are stored all the same; a release that
    // is already in the collection never is.
    bool allowDuplicate = false;
};

// Called every few rows with the bytes read and the file's size; false cancels.
using Progress = std::function<bool(qint64 done, qint64 total)>;

struct Outcome {
    bool ok = false; // the whole file was read (and, in the real run, stored)
    bool cancelled = false;
    // German, for a failure: an unreadable file, a file that is no Discogs collection
    // ("Die Datei ist keine Discogs-Sammlung: Spalte „release_id“ fehlt."), the first
    // "Fehler" row or a failed store, naming the line ("Zeile 4: ...").
    QString error;
    QList<RowOutcome> rows; // every row read, in file order
    Counts counts;
    int stored = 0; // carriers stored by the real run; 0 whenever ok is false
};

// The dry run: reads and judges every row, writes nothing.
Outcome plan(Database& db, const QString& path, const Options& options = {},
             const Progress& progress = {});

// The real run: every "neu" row becomes a new carrier as the entry window's first save
// makes it (numbering, the media type's counter, "Nummerierung" raised until the carrier
// key is free), all in one transaction with their free text and Discogs release. A
// "Fehler" row, a failure or a cancel stores nothing; the rows then read as in the dry
// run. Under global numbering the caller advances Settings::globalNumber by stored and
// writes the settings, as after a first save.
Outcome import(Database& db, const QString& path, const Settings& settings,
               const Options& options = {}, const QDate& today = QDate::currentDate(),
               const Progress& progress = {});

} // namespace discogs
