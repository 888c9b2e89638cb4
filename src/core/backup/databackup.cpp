#include "databackup.h"

#include "archiveio.h"
#include "core/common/atomicfile.h"
#include "core/db/database.h"
#include "core/db/startupchecks.h"
#include "core/settings/settings.h"
#include "core/shell/datadirectorylock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QThread>
#include <cerrno>
#include <filesystem>
#include <sqlite3.h>
#include <thread>

namespace databackup {
namespace {

const QString kStagingFolder = QStringLiteral(".wiederherstellung");
// The files a restore moved aside while it swaps in the staged ones; they go back when the
// swap does not complete.
const QString kAsideFolder = QStringLiteral(".wiederherstellung-alt");

// Records the first message instead of showing it, and answers every question with no.
class CheckMessages : public MessageService {
public:
    QString first;
    MessageButton show(const Message& m) override {
        if (first.isEmpty())
            first = m.text;
        return m.buttons.testFlag(MessageButton::Cancel) ? MessageButton::Cancel
                                                         : MessageButton::No;
    }
    QString chooseOpenFile(const FileChoice&) override { return {}; }
    QString chooseSaveFile(const FileChoice&) override { return {}; }
};

// SQLite's full check, which also compares every index with its table.
QString integrityFindings(Database& db) {
    QStringList findings;
    try {
        Statement s = db.prepare(u"PRAGMA integrity_check");
        while (s.next())
            findings.append(s.toString(0).trimmed());
    } catch (const DbError& e) {
        findings.append(e.message());
    }
    if (findings == QStringList{QStringLiteral("ok")})
        return {};
    return findings.size() > 1 ? QStringLiteral("%1 (und %2 weitere Befunde)")
                                     .arg(findings.first())
                                     .arg(findings.size() - 1)
                               : findings.value(0);
}

QString findingsText(const QString& findings) {
    return QStringLiteral("Die Prüfung der Datenbank fand Schäden [%1]").arg(findings);
}

// An archive whose files proved equal to their checksums needs only the quick check; one
// without checksums may carry damage that only the full check finds.
QString checkRestoredDatabase(const QString& path, bool checksumsVerified) {
    if (!QFile::exists(path))
        return QStringLiteral("Die Sicherung enthält keine Datenbank");
    try {
        Database db;
        db.open(path);
        const QString findings =
            checksumsVerified ? startupchecks::pageCheckFindings(db) : integrityFindings(db);
        if (!findings.isEmpty())
            return findingsText(findings);
        CheckMessages messages;
        if (!startupchecks::checkDataFiles(db, messages) ||
            !startupchecks::checkAndUpgradeFormats(db, messages))
            return messages.first;
    } catch (const DbError& e) {
        return databaseErrorText(e.message(), e.sqliteCode());
    }
    return {};
}

// Keeps the component's error for the German message while a run lasts; the handler set
// before is called as well.
class ErrorCapture {
public:
    explicit ErrorCapture(TBackupFile& component)
        : m_component(component), m_previous(component.OnError) {
        component.OnError = [this](int code, const QString& file, const QString& text) {
            m_code = code;
            m_file = file;
            if (m_previous)
                m_previous(code, file, text);
        };
    }
    ~ErrorCapture() { m_component.OnError = m_previous; }
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;
    int code() const { return m_code; }
    QString text() const {
        QString text = errorText(m_code, m_file);
        // A write that failed for a reason the user can mend says which; others stay as they
        // were, since the number may not belong to the failed call.
        switch (const int cause = m_component.writeFailureCause()) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
        case EACCES:
        case EPERM:
        case EROFS:
        case EIO:
            text += QStringLiteral(": ") + atomicfile::causeText(cause);
            break;
        default:
            break;
        }
        return text;
    }

private:
    TBackupFile& m_component;
    TBackupFile::ErrorHandler m_previous;
    int m_code = 0;
    QString m_file;
};

// The files a backup wrote: the archive and its further volumes.
void removeArchive(const QString& archivePath, int volumes) {
    QFile::remove(archivePath);
    for (int volume = 2; volume <= volumes; ++volume)
        QFile::remove(TBackupFile::volumePath(archivePath, volume));
}

bool renameFile(const QString& from, const QString& to) {
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData(),
                            ec);
    return !ec;
}

// Moves every file of the folder back into the data directory.
bool moveBack(const QString& asideDirectory, const QString& dataDirectory, const Rename& rename) {
    const QDir aside(asideDirectory), data(dataDirectory);
    bool all = true;
    for (const QString& name : aside.entryList(QDir::Files | QDir::Hidden))
        all = rename(aside.filePath(name), data.filePath(name)) && all;
    return all;
}

// Where the consistent copy of the database is written: beside the archive (the data disk
// may be full), else in the temporary folder. Its name matches none of the backed-up patterns.
std::unique_ptr<QTemporaryFile> snapshotFile(const QString& archivePath) {
    QStringList folders{QDir::tempPath()};
    if (archivePath != TBackupFile::kStreamPath)
        folders.prepend(QFileInfo(archivePath).absolutePath());
    for (const QString& folder : folders) {
        auto file = std::make_unique<QTemporaryFile>(
            QDir(folder).filePath(QStringLiteral(".diskarium-sicherung-XXXXXX.tmp")));
        if (file->open()) {
            file->close();
            return file;
        }
    }
    return nullptr;
}

} // namespace

QString defaultArchiveName(const QDateTime& moment) {
    return archiveTitle(moment) + QStringLiteral(".bck");
}

QString archiveTitle(const QDateTime& moment) {
    return QStringLiteral("WDsKmBackup-") + moment.toString(QStringLiteral("yyyy-MM-dd-HH-mm-ss"));
}

QStringList patterns(const QString& dataDirectory) {
    const QDir dir(dataDirectory);
    QStringList list;
    for (const char* p : {"cddbhosts.txt", "windskm.ini", "*.yg?", "*.xg?", "*.px", "*.mb", "*.db"})
        list.append(dir.filePath(QString::fromLatin1(p)));
    return list;
}

void configure(TBackupFile& component) {
    component.setBackupMode(TBackupFile::bmAll);
    component.setCompressionLevel(TBackupFile::clFastest);
    component.setRestoreMode(TBackupFile::rmAll);
    component.setMaxSize(0);
    component.setSetArchiveFlag(true);
    component.setRestoreFullPath(false);
    component.setSaveFileID(true);
}

QString errorText(int code, const QString& fileName) {
    switch (code) {
    case 1:
        return QStringLiteral("Datei %1 konnte nicht gelesen werden").arg(fileName);
    case 2:
        return QStringLiteral("Datei %1 konnte nicht überschrieben werden").arg(fileName);
    case 3:
        return QStringLiteral("Archivdatei konnte nicht gelesen werden");
    case 4:
        return QStringLiteral("Archivdatei konnte nicht geschrieben werden");
    case 5:
        return QStringLiteral("Archivdatei ist ungültig");
    case 6:
        return QStringLiteral("Kompressionsfehler");
    case 7:
        return QStringLiteral("Temporäre Hilfsdatei konnte nicht erstellt werden");
    case 8:
        return QStringLiteral("Datei %1 ist durch ein anderes Programm gesperrt").arg(fileName);
    default:
        return QStringLiteral("Unbekannter Fehler");
    }
}

QString programFileName(const QString& storedFileName) {
    const QString lower = storedFileName.toLower();
    if (lower == QString::fromLatin1(Database::kFileName).toLower())
        return QString::fromLatin1(Database::kFileName);
    if (lower == QString::fromLatin1(settingsfile::kFileName).toLower())
        return QString::fromLatin1(settingsfile::kFileName);
    return lower;
}

QString checkDatabaseFile(const QString& databasePath, const std::atomic<bool>* stop) {
    try {
        Database db;
        db.open(databasePath);
        db.stopWhen(stop);
        const QString findings = startupchecks::pageCheckFindings(db);
        return findings.isEmpty() ? findings : findingsText(findings);
    } catch (const DbError& e) {
        return databaseErrorText(e.message(), e.sqliteCode());
    }
}

QString databaseErrorText(const QString& engineText, int sqliteCode) {
    // The engine's own texts begin in lower case; a sentence of this program is German already.
    if (!engineText.isEmpty() && !engineText.front().isLower())
        return engineText;
    const int primary = sqliteCode & 0xff;
    auto says = [&engineText](const char* text) {
        return engineText.contains(QLatin1String(text), Qt::CaseInsensitive);
    };
    QString german;
    if (primary == SQLITE_FULL || says("disk is full"))
        german = QStringLiteral("Der Datenträger ist voll");
    else if (primary == SQLITE_CANTOPEN || says("unable to open"))
        german = QStringLiteral("Die Datenbankdatei kann nicht geöffnet werden");
    else if (primary == SQLITE_NOTADB || says("not a database"))
        german = QStringLiteral("Die Datei ist keine Datenbank");
    else if (primary == SQLITE_CORRUPT || says("malformed"))
        german = QStringLiteral("Die Datenbank ist beschädigt");
    else if (primary == SQLITE_READONLY || says("readonly"))
        german = QStringLiteral("Die Datenbank kann nicht geschrieben werden");
    else if (primary == SQLITE_IOERR || says("I/O error"))
        german = QStringLiteral("Ein- oder Ausgabefehler beim Zugriff auf die Datenbank");
    else
        german = QStringLiteral("Fehler der Datenbank");
    if (engineText.isEmpty())
        return german;
    return QStringLiteral("%1 [%2]").arg(german, engineText);
}

QString archiveErrorText(const QString& componentText) {
    if (componentText == TBackupFile::errorText(TBackupFile::InvalidArchive))
        return QStringLiteral("Die Datei ist keine gültige oder eine beschädigte Datensicherung");
    if (componentText == TBackupFile::errorText(TBackupFile::CannotReadArchive))
        return QStringLiteral(
            "Die Datensicherung ist unvollständig oder kann nicht gelesen werden");
    return componentText;
}

void clearLeftovers(const QString& dataDirectory) {
    const QDir data(dataDirectory);
    QDir aside(data.filePath(kAsideFolder));
    // A swap cut short: the files moved aside are the data before it, and go back.
    if (aside.exists() && moveBack(aside.path(), dataDirectory, renameFile))
        aside.removeRecursively();
    QDir(data.filePath(kStagingFolder)).removeRecursively();
}

BackupResult backupDataDirectory(TBackupFile& component, const QString& dataDirectory,
                                 const QString& archivePath, const DatabaseCheck& check) {
    BackupResult result;
    const QDir data(dataDirectory);
    const QString database = data.filePath(QString::fromLatin1(Database::kFileName));
    const bool withDatabase = QFile::exists(database);
    const std::unique_ptr<QTemporaryFile> snapshotHolder =
        withDatabase ? snapshotFile(archivePath) : nullptr;
    const QString snapshot = snapshotHolder ? snapshotHolder->fileName() : QString();
    if (withDatabase) {
        if (!snapshotHolder) {
            result.failure = errorText(TBackupFile::CannotCreateFileList, QString());
            return result;
        }
        try {
            Database db;
            db.open(database);
            db.copyTo(snapshot);
        } catch (const DbError& e) {
            result.failure = QStringLiteral("Die Datenbank konnte nicht kopiert werden: %1")
                                 .arg(databaseErrorText(e.message(), e.sqliteCode()));
            return result;
        }
        component.setSource(database, snapshot);
    }
    // The copy holds exactly the bytes that are archived, and nothing changes it: it is
    // checked on its own connection meanwhile.
    std::atomic<bool> stopCheck = false, checkDone = !withDatabase;
    QString problem;
    std::thread checker;
    if (withDatabase) {
        checker = std::thread([&] {
            problem = check ? check(snapshot) : checkDatabaseFile(snapshot, &stopCheck);
            checkDone = true;
        });
    }
    const ErrorCapture error(component);
    const bool written = component.backup(patterns(dataDirectory), archivePath);
    component.clearSources();
    stopCheck = !written;
    while (!checkDone) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (component.cancelled())
            stopCheck = true; // cancelled while the check still ran
        else
            QThread::msleep(5);
    }
    if (checker.joinable())
        checker.join();

    if (!written || component.cancelled()) {
        result.cancelled = component.cancelled();
        if (!result.cancelled)
            result.failure = error.text();
    } else if (!problem.isEmpty()) {
        result.failure =
            QStringLiteral("Die gesicherte Datenbank ist nicht verwendbar: %1").arg(problem);
    }
    result.ok = written && !result.cancelled && result.failure.isEmpty();
    // A part of an archive must not be taken for a backup later.
    if (!result.ok && archivePath != TBackupFile::kStreamPath)
        removeArchive(archivePath, component.volumesWritten());
    return result;
}

RestoreResult restoreDataDirectory(TBackupFile& component, const QString& archivePath,
                                   const QString& dataDirectory) {
    RestoreResult result;
    const QDir data(dataDirectory);
    data.mkpath(QStringLiteral("."));
    // Files replaced under a running program would leave it writing into a file without a
    // name, and what it writes would be lost.
    DataDirectoryLock lock(dataDirectory, DataDirectoryLock::Mode::Replace);
    if (!lock.tryLock(&result.failure)) {
        result.inUse = true;
        return result;
    }
    clearLeftovers(dataDirectory);
    QDir staging(data.filePath(kStagingFolder));
    if (!data.mkpath(kStagingFolder)) {
        result.failure =
            QStringLiteral("Der Ordner %1 kann nicht angelegt werden").arg(staging.path());
        return result;
    }
    const ErrorCapture error(component);
    const auto previousRestoreFile = component.OnRestoreFile;
    QString foreign;
    QStringList dataFiles;
    for (const QString& pattern : patterns(dataDirectory))
        dataFiles.append(QFileInfo(pattern).fileName());
    component.OnRestoreFile = [&](QString& target, bool& restore, qint32 time) {
        const QFileInfo info(target);
        // A name no backup writes is a damaged entry (or a file list whose name was hit):
        // it must not land in the data directory.
        if (!QDir::match(dataFiles, info.fileName())) {
            if (foreign.isEmpty())
                foreign = info.fileName();
            restore = false;
            return;
        }
        // Each file under the name the program opens it by.
        target = info.dir().filePath(programFileName(info.fileName()));
        if (previousRestoreFile)
            previousRestoreFile(target, restore, time);
    };
    const bool restored = component.restore(archivePath, staging.path());
    component.OnRestoreFile = previousRestoreFile;

    if (restored && !foreign.isEmpty()) {
        staging.removeRecursively();
        result.failure = archiveio::damagedText(
            QStringLiteral("Die Datei %1 gehört nicht zu einem Datenbestand.").arg(foreign));
        return result;
    }
    if (!restored) {
        staging.removeRecursively();
        result.cancelled = component.cancelled();
        result.archiveError = component.archiveError();
        if (!result.cancelled)
            result.failure = !component.damage().isEmpty() ? component.damage()
                             : !result.archiveError.isEmpty()
                                 ? archiveErrorText(result.archiveError)
                             : error.code() ? error.text()
                                            : errorText(3, QString());
        return result;
    }
    const QString problem = checkRestoredDatabase(
        staging.filePath(QString::fromLatin1(Database::kFileName)), component.checksumsVerified());
    if (!problem.isEmpty()) {
        staging.removeRecursively();
        result.failure =
            QStringLiteral("Die gesicherte Datenbank ist nicht verwendbar: %1").arg(problem);
        return result;
    }
    result.ok =
        replaceFromStaging(staging.path(), dataDirectory, &result.failure, &result.dataChanged);
    return result;
}

bool replaceFromStaging(const QString& stagingDirectory, const QString& dataDirectory,
                        QString* failure, bool* dataChanged, const Rename& rename) {
    const Rename move = rename ? rename : Rename(renameFile);
    QDir staging(stagingDirectory);
    const QDir data(dataDirectory);
    QDir aside(data.filePath(kAsideFolder));
    aside.removeRecursively();
    if (dataChanged)
        *dataChanged = false;
    if (!data.mkpath(kAsideFolder)) {
        *failure = QStringLiteral("Der Ordner %1 kann nicht angelegt werden").arg(aside.path());
        staging.removeRecursively();
        return false;
    }
    // First every present file goes aside, then every staged file in; a failure at any step
    // puts the present files back, so the data is either all restored or all as before.
    const QString database = data.filePath(QString::fromLatin1(Database::kFileName));
    QStringList present;
    for (const QString& name : staging.entryList(QDir::Files | QDir::Hidden))
        present.append(name);
    for (const char* journal : {"-wal", "-shm", "-journal"})
        present.append(QFileInfo(database).fileName() + QLatin1String(journal));
    QString failed;
    QStringList movedIn;
    for (const QString& name : std::as_const(present)) {
        if (QFileInfo::exists(data.filePath(name)) &&
            !move(data.filePath(name), aside.filePath(name))) {
            failed = data.filePath(name);
            break;
        }
    }
    if (failed.isEmpty()) {
        for (const QString& name : staging.entryList(QDir::Files | QDir::Hidden)) {
            if (!move(staging.filePath(name), data.filePath(name))) {
                failed = data.filePath(name);
                break;
            }
            movedIn.append(name);
        }
    }
    if (failed.isEmpty()) {
        aside.removeRecursively();
        staging.removeRecursively();
        if (dataChanged)
            *dataChanged = true;
        return true;
    }
    // Undo: the files moved in go, the present ones return.
    for (const QString& name : std::as_const(movedIn))
        QFile::remove(data.filePath(name));
    const bool undone = moveBack(aside.path(), dataDirectory, move);
    if (undone)
        aside.removeRecursively();
    staging.removeRecursively();
    if (dataChanged)
        *dataChanged = !undone;
    *failure = QStringLiteral("Datei %1 konnte nicht überschrieben werden").arg(failed);
    if (!undone)
        *failure += QStringLiteral("; die vorherigen Dateien liegen in %1").arg(aside.path());
    return false;
}

} // namespace databackup
