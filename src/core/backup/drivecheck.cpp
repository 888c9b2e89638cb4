#include "drivecheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

// The whole-disk name of a block device ("sdb1" -> "sdb", "mmcblk0p1" -> "mmcblk0").
QString diskOf(const QString& device) {
    const QString name = QFileInfo(device).fileName();
    const QString partitionLink = QStringLiteral("/sys/class/block/%1").arg(name);
    if (QFile::exists(partitionLink + QStringLiteral("/partition")))
        return QFileInfo(QFileInfo(partitionLink).canonicalFilePath()).dir().dirName();
    return name;
}

bool isRemovable(const QString& device) {
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    QFile flag(QStringLiteral("/sys/block/%1/removable").arg(diskOf(device)));
    return flag.open(QIODevice::ReadOnly) && flag.readAll().trimmed() == "1";
}

} // namespace

DriveKind classifyDrive(bool valid, const QString& fileSystemType, const QString& device,
                        bool readOnly, bool removable) {
    if (!valid)
        return DriveKind::Unknown;
    const QString fs = fileSystemType.toLower();
    if (fs == QLatin1String("iso9660") || fs == QLatin1String("udf") ||
        device.startsWith(QLatin1String("/dev/sr")))
        return DriveKind::Optical;
    if (readOnly)
        return DriveKind::ReadOnly;
    if (fs == QLatin1String("tmpfs") || fs == QLatin1String("ramfs"))
        return DriveKind::RamDisk;
    if (removable)
        return DriveKind::Removable;
    return DriveKind::Fixed;
}

DriveInfo inspectDrive(const QString& folder) {
    const QStorageInfo storage(folder);
    DriveInfo info;
    const bool valid = storage.isValid() && storage.isReady() && !storage.rootPath().isEmpty();
    const QString device = QString::fromLocal8Bit(storage.device());
    info.kind = classifyDrive(valid, QString::fromLatin1(storage.fileSystemType()), device,
                              storage.isReadOnly(), valid && isRemovable(device));
    info.root = storage.rootPath();
    info.freeBytes = valid ? storage.bytesAvailable() : -1;
    return info;
}

qint64 freeSpace(const QString& folder) {
    const QStorageInfo storage(folder);
    return storage.isValid() && storage.isReady() ? storage.bytesAvailable() : -1;
}
