#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// What an archive holds, read without writing anything.
struct ArchiveListing {
    struct Entry {
        QString name;
        QDateTime time;
        qint64 size = 0;
        QByteArray sha256; // hex, from the file list; empty in archives without checksums
    };
    QString title;
    qint64 totalSize = 0;
    int fileCount = 0;
    QList<Entry> entries;
    QStringList volumes; // every volume file read, the first included
};

// nullopt with a German reason in error when the archive or one of its volumes cannot be read,
// or a file does not match the checksum its file list gives.
std::optional<ArchiveListing> listArchive(const QString& archivePath, QString* error = nullptr);
