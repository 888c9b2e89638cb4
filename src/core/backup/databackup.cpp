#include "databackup.h"

#include "core/db/database.h"
#include "core/db/startupchecks.h"
#include "core/settings/settings.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>

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
        if (const QString check = db.scalar(u"PRAGMA quick_check").toString();
            check != QLatin1String("ok"))
            return check;
        CheckMessages messages;
        if (!startupchecks::checkDataFiles(db, messages) ||
            !startupchecks::checkAndUpgradeFormats(db, messages))
            return messages.first;
    } catch (const DbError& e) {
        return e.message();
    }
    return {};
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

RestoreResult restoreDataDirectory(TBackupFile& component, const QString& archivePath,
                                   const QString& dataDirectory) {
    RestoreResult result;
    const QDir data(dataDirectory);
    QDir staging(data.filePath(kStagingFolder));
    staging.removeRecursively();
    if (!data.mkpath(kStagingFolder)) {
        result.failure =
            QStringLiteral("Der Ordner %1 kann nicht angelegt werden").arg(staging.path());
        return result;
    }
    QString errorFile;
    int errorCode = 0;
    const auto previousError = component.OnError;
    component.OnError = [&](int code, const QString& file, const QString& text) {
        errorCode = code;
        errorFile = file;
        if (previousError)
            previousError(code, file, text);
    };
    const auto previousRestoreFile = component.OnRestoreFile;
    component.OnRestoreFile = [&](QString& target, bool& restore, qint32 time) {
        // Each file under the name the program opens it by.
        const QFileInfo info(target);
        target = info.dir().filePath(programFileName(info.fileName()));
        if (previousRestoreFile)
            previousRestoreFile(target, restore, time);
    };
    const bool restored = component.restore(archivePath, staging.path());
    component.OnError = previousError;
    component.OnRestoreFile = previousRestoreFile;

    if (!restored) {
        staging.removeRecursively();
        result.cancelled = component.cancelled();
        result.archiveError = component.archiveError();
        if (!result.cancelled)
            result.failure = !result.archiveError.isEmpty() ? result.archiveError
                             : errorCode                    ? errorText(errorCode, errorFile)
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
    const QString database = data.filePath(QString::fromLatin1(Database::kFileName));
    QFile::remove(database + QStringLiteral("-wal"));
    QFile::remove(database + QStringLiteral("-shm"));
    QFile::remove(database + QStringLiteral("-journal"));
    for (const QString& name : staging.entryList(QDir::Files | QDir::Hidden)) {
        if (!replaceFile(staging.filePath(name), data.filePath(name))) {
            result.failure = QStringLiteral("Datei %1 konnte nicht überschrieben werden")
                                 .arg(data.filePath(name));
            staging.removeRecursively();
            return result;
        }
    }
    staging.removeRecursively();
    result.ok = true;
    return result;
}

} // namespace databackup
