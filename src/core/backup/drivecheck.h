#pragma once

#include <QString>

// What kind of medium holds a folder, for the checks before a backup is written there.
enum class DriveKind { Unknown, Fixed, Removable, Optical, ReadOnly, RamDisk };

struct DriveInfo {
    DriveKind kind = DriveKind::Unknown;
    QString root; // the mount point, shown to the user as the drive
    qint64 freeBytes = -1;
};

DriveInfo inspectDrive(const QString& folder);

// The rules behind inspectDrive, apart from the system calls.
DriveKind classifyDrive(bool valid, const QString& fileSystemType, const QString& device,
                        bool readOnly, bool removable);

// Free bytes of the volume holding the folder; -1 when it cannot be measured.
qint64 freeSpace(const QString& folder);
