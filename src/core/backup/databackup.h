#pragma once

#include "backupfile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

// Backing up and restoring the data directory: which files, under which names, and a
// restore that replaces the present files only once the archive proved complete and its
// database usable.
namespace databackup {

// "WDsKmBackup-2004-12-29-23-09-10.bck" and the title "WDsKmBackup-2004-12-29-23-09-10".
QString defaultArchiveName(const QDateTime& moment);
QString archiveTitle(const QDateTime& moment);

// The files of a backup, in this order: server list, settings, index files, memo files,
// tables. Only the server list, the settings and the database exist here.
QStringList patterns(const QString& dataDirectory);

// Sets up the component as the backup and restore commands use it.
void configure(TBackupFile& component);

// The German text of an error code of the component.
QString errorText(int code, const QString& fileName);

// The name by which the program opens a stored file ("windskm.ini" -> "WinDsKm.InI").
QString programFileName(const QString& storedFileName);

struct BackupResult {
    bool ok = false;
    bool cancelled = false;
    QString failure; // German reason when not ok and not cancelled
};

// Checks a database file: empty when it is usable, otherwise the reason.
using DatabaseCheck = std::function<QString(const QString& databasePath)>;

// SQLite's quick check of the file, with its first finding and the count of the rest. It
// ends early once stop is set.
QString checkDatabaseFile(const QString& databasePath, const std::atomic<bool>* stop = nullptr);

// Backs up the data directory. The database is read from a consistent copy taken through
// SQLite beside it (another process may go on writing), stored under its own name, and
// checked with check (checkDatabaseFile when empty) before the backup counts as done; the
// check runs on a second thread while the archive is written, and events are processed
// while it ends. A backup that fails or is cancelled leaves no archive behind.
BackupResult backupDataDirectory(TBackupFile& component, const QString& dataDirectory,
                                 const QString& archivePath, const DatabaseCheck& check = {});

struct RestoreResult {
    bool ok = false;
    bool cancelled = false;
    QString archiveError;     // the component's "Cannot read archive" / "Invalid archive type"
    QString failure;          // German reason when not ok and not cancelled
    bool inUse = false;       // another process holds the data directory; failure says so
    bool dataChanged = false; // a failed restore could not put every present file back
};

// A German sentence for an error of the database engine, its own text in brackets.
QString databaseErrorText(const QString& engineText, int sqliteCode = 0);

// A German sentence for the component's "Cannot read archive" and "Invalid archive type".
QString archiveErrorText(const QString& componentText);

// Clears what a restore that was killed left in the data directory: the staging folder, and
// puts back files it had moved aside. Call with the data directory locked.
void clearLeftovers(const QString& dataDirectory);

// Restores the archive into a staging folder of the data directory, checks the restored
// database, then replaces the present files. The present data stays untouched unless the
// whole archive was read and checked. The database must be closed meanwhile, and no other
// process may use the data directory: it is locked for the run.
RestoreResult restoreDataDirectory(TBackupFile& component, const QString& archivePath,
                                   const QString& dataDirectory);

using Rename = std::function<bool(const QString& from, const QString& to)>;

// Moves every file of the staging folder over the file of the same name in the data
// directory (the database's journal files go) and removes the folder: all of them, or, when
// one cannot be replaced, none. False with the German reason then; dataChanged tells whether
// the present files could not all be put back. rename replaces the file system's for tests.
bool replaceFromStaging(const QString& stagingDirectory, const QString& dataDirectory,
                        QString* failure, bool* dataChanged = nullptr, const Rename& rename = {});

} // namespace databackup
