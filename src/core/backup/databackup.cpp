#include "databackup.h"

#include "core/db/database.h"
#include "core/db/startupchecks.h"
#include "core/settings/settings.h"
#include "core/shell/datadirectorylock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <filesystem>
#include <thread>

namespace databackup {
namespace {

const QString kStagingFolder = QStringLiteral(".wiederherstellung");

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

QString checkRestoredDatabase(const QString& path) {
    if (!QFile::exists(path))
        return QStringLiteral("Die Sicherung enthält keine Datenbank");
    try {
        Database db;
        db.open(path);
        // Stored blocks carry no checksum; the database's own check finds damage in them.
        if (const QString findings = startupchecks::pageCheckFindings(db); !findings.isEmpty())
            return findings;
        CheckMessages messages;
        if (!startupchecks::checkDataFiles(db, messages) ||
            !startupchecks::checkAndUpgradeFormats(db, messages))
            return messages.first;
    } catch (const DbError& e) {
        return e.message();
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
    QString text() const { return errorText(m_code, m_file); }

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

bool replaceFile(const QString& from, const QString& to) {
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData(),
                            ec);
    return !ec;
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
        return startupchecks::pageCheckFindings(db);
    } catch (const DbError& e) {
        return e.message();
    }
}

BackupResult backupDataDirectory(TBackupFile& component, const QString& dataDirectory,
                                 const QString& archivePath, const DatabaseCheck& check) {
    BackupResult result;
    const QDir data(dataDirectory);
    const QString database = data.filePath(QString::fromLatin1(Database::kFileName));
    const QString snapshot = database + QStringLiteral("-sicherung");
    const bool withDatabase = QFile::exists(database);
    if (withDatabase) {
        try {
            Database db;
            db.open(database);
            db.copyTo(snapshot);
        } catch (const DbError& e) {
            QFile::remove(snapshot);
            result.failure = errorText(TBackupFile::CannotCreateFileList, QString()) +
                             QStringLiteral(": ") + e.message();
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
    QFile::remove(snapshot);
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
    DataDirectoryLock lock(dataDirectory);
    if (!lock.tryLock(&result.failure)) {
        result.inUse = true;
        return result;
    }
    QDir staging(data.filePath(kStagingFolder));
    staging.removeRecursively();
    if (!data.mkpath(kStagingFolder)) {
        result.failure =
            QStringLiteral("Der Ordner %1 kann nicht angelegt werden").arg(staging.path());
        return result;
    }
    const ErrorCapture error(component);
    const auto previousRestoreFile = component.OnRestoreFile;
    component.OnRestoreFile = [&](QString& target, bool& restore, qint32 time) {
        // Each file under the name the program opens it by.
        const QFileInfo info(target);
        target = info.dir().filePath(programFileName(info.fileName()));
        if (previousRestoreFile)
            previousRestoreFile(target, restore, time);
    };
    const bool restored = component.restore(archivePath, staging.path());
    component.OnRestoreFile = previousRestoreFile;

    if (!restored) {
        staging.removeRecursively();
        result.cancelled = component.cancelled();
        result.archiveError = component.archiveError();
        if (!result.cancelled)
            result.failure = !result.archiveError.isEmpty() ? result.archiveError
                             : error.code()                 ? error.text()
                                                            : errorText(3, QString());
        return result;
    }
    const QString problem =
        checkRestoredDatabase(staging.filePath(QString::fromLatin1(Database::kFileName)));
    if (!problem.isEmpty()) {
        staging.removeRecursively();
        result.failure =
            QStringLiteral("Die gesicherte Datenbank ist nicht verwendbar: %1").arg(problem);
        return result;
    }
    result.ok = replaceFromStaging(staging.path(), dataDirectory, &result.failure);
    return result;
}

bool replaceFromStaging(const QString& stagingDirectory, const QString& dataDirectory,
                        QString* failure) {
    QDir staging(stagingDirectory);
    const QDir data(dataDirectory);
    const QString database = data.filePath(QString::fromLatin1(Database::kFileName));
    QFile::remove(database + QStringLiteral("-wal"));
    QFile::remove(database + QStringLiteral("-shm"));
    QFile::remove(database + QStringLiteral("-journal"));
    for (const QString& name : staging.entryList(QDir::Files | QDir::Hidden)) {
        if (!replaceFile(staging.filePath(name), data.filePath(name))) {
            *failure = QStringLiteral("Datei %1 konnte nicht überschrieben werden")
                           .arg(data.filePath(name));
            staging.removeRecursively();
            return false;
        }
    }
    staging.removeRecursively();
    return true;
}

} // namespace databackup
