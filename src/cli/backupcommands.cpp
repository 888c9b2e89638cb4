#include "backupcommands.h"
#include "console.h"

#include "consolemessageservice.h"
#include "core/backup/archivelisting.h"
#include "core/backup/databackup.h"
#include "core/common/germanformat.h"
#include "core/db/dataset.h"
#include "usage.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {

int backupUsage() {
    return usagetext::show(
        {QStringLiteral("backup"), QStringLiteral("restore"), QStringLiteral("list")});
}

} // namespace

int runBackupCommand(const QStringList& args) {
    if (args.size() != 2 && !(args.size() == 4 && args[2] == QLatin1String("--max-size")))
        return backupUsage();
    const QString dataDirectory = args[0];
    const QString archive = args[1];
    if (!dataset::exists(dataDirectory)) {
        err() << "Fehler: In " << dataDirectory << " liegt kein Datenbestand." << Qt::endl;
        return 1;
    }
    TBackupFile component;
    databackup::configure(component);
    if (args.size() == 4) {
        bool ok = false;
        const qint64 maxSize = args[3].toLongLong(&ok);
        if (!ok || maxSize < TBackupFile::kVolumeMargin + TBackupFile::kBlockSize) {
            err() << "Fehler: --max-size braucht eine Zahl von mindestens "
                  << TBackupFile::kVolumeMargin + TBackupFile::kBlockSize << " Bytes." << Qt::endl;
            return 2;
        }
        component.setMaxSize(maxSize);
    }
    const QDateTime now = QDateTime::currentDateTime();
    component.setBackupTitle(databackup::archiveTitle(now));
    // Further volumes are written beside the first one without asking.
    component.OnNeedDisk = [](int, bool& cont) { cont = true; };
    const auto result = databackup::backupDataDirectory(component, dataDirectory, archive);
    if (!result.ok) {
        err() << "Die Datensicherung ist fehlgeschlagen [" << result.failure << "]!" << Qt::endl;
        return 1;
    }
    out() << "Die Datensicherung war erfolgreich. Kompressionsrate = "
          << component.compressionRate() << "%" << Qt::endl;
    return 0;
}

int runRestoreCommand(const QStringList& args) {
    if (args.size() != 2)
        return backupUsage();
    TBackupFile component;
    databackup::configure(component);
    const QString archive = args[0];
    component.OnNeedDisk = [&archive](int volume, bool& cont) {
        const QString next = TBackupFile::volumePath(archive, volume);
        cont = QFile::exists(next);
        if (!cont)
            err() << "Der Folgedatenträger " << next << " fehlt." << Qt::endl;
    };
    if (!QFile::exists(archive)) {
        err() << "Die Datei " << archive << " ist nicht vorhanden." << Qt::endl;
        return 1;
    }
    const auto result = databackup::restoreDataDirectory(component, archive, args[1]);
    if (result.inUse) {
        err() << result.failure << Qt::endl;
        return 1;
    }
    if (!result.ok) {
        err() << "Die Datenwiederherstellung ist fehlgeschlagen [" << result.failure << "]! "
              << (result.dataChanged
                      ? "Die vorhandenen Daten konnten nicht vollständig zurückgelegt werden."
                      : "Die vorhandenen Daten sind unverändert.")
              << Qt::endl;
        return 1;
    }
    out() << "Die Datenwiederherstellung war erfolgreich!" << Qt::endl;
    return 0;
}

int runListCommand(const QStringList& args) {
    if (args.size() != 1)
        return backupUsage();
    QString error;
    const auto listing = listArchive(args[0], &error);
    if (!listing) {
        err() << "Fehler: " << error << Qt::endl;
        return 1;
    }
    out() << "Titel: " << listing->title << "\n"
          << "Gesamtgröße: " << listing->totalSize << " Bytes, " << listing->fileCount
          << " Dateien\n";
    for (const auto& e : listing->entries)
        out() << germanformat::formatDate(e.time.date()) << ' '
              << e.time.time().toString(QStringLiteral("HH:mm:ss"))
              << QStringLiteral("%1").arg(e.size, 14) << "  " << e.name
              << (e.sha256.isEmpty() ? QString()
                                     : QStringLiteral("  sha256:") + QString::fromLatin1(e.sha256))
              << "\n";
    out() << "Datenträger: " << listing->volumes.join(QStringLiteral(", ")) << Qt::endl;
    return 0;
}
