#include "archivelisting.h"

#include "archiveio.h"
#include "backupfile.h"
#include "blockcodec.h"
#include "core/common/packeddatetime.h"

#include <QFile>

std::optional<ArchiveListing> listArchive(const QString& archivePath, QString* error) {
    auto failWith = [error](const QString& text) -> std::optional<ArchiveListing> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    archiveio::Input in(nullptr);
    if (!in.open(archivePath))
        return failWith(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(archivePath));
    ArchiveListing listing;
    listing.volumes.append(archivePath);
    const QString invalid =
        QStringLiteral("Die Datei %1 ist keine gültige Datensicherung.").arg(archivePath);
    const auto titleLength = in.readInt32();
    if (!titleLength || *titleLength < 0 || *titleLength > 4096)
        return failWith(invalid);
    QByteArray title(*titleLength, Qt::Uninitialized);
    const bool titleRead = in.read(title.data(), title.size());
    const auto total = titleRead ? in.readInt32() : std::nullopt;
    const auto count = total ? in.readInt32() : std::nullopt;
    if (!count)
        return failWith(invalid);
    listing.title = archiveio::decodeName(title);
    listing.totalSize = qint64(quint32(*total));
    listing.fileCount = *count;

    BlockDecompressor decompressor;
    QByteArray block(TBackupFile::kBlockSize, Qt::Uninitialized);
    QByteArray plain(TBackupFile::kBlockSize, Qt::Uninitialized);
    archiveio::ChecksumCheck checks;
    QByteArray fileList;
    int volumeNumber = 1;
    int filesRead = 0;
    auto readDataPart = [&](ArchiveListing::Entry* entry, QByteArray* into = nullptr) {
        char marker[4];
        if (!in.read(marker, 4) || QByteArrayView(marker, 4) != QByteArrayView("EC2\0", 4))
            return false;
        for (;;) {
            const auto n = in.readInt32();
            if (!n)
                return false;
            if (*n == 0)
                return true;
            const qint64 length = *n > 0 ? qint64(*n) : -qint64(*n);
            if (length > TBackupFile::kBlockSize || !in.read(block.data(), length))
                return false;
            int produced = int(length);
            if (*n > 0 && !decompressor.decompress(block.constData(), int(length), plain.data(),
                                                   TBackupFile::kBlockSize, produced))
                return false;
            const char* bytes = *n > 0 ? plain.constData() : block.constData();
            if (into)
                into->append(bytes, produced);
            checks.add(bytes, produced);
            entry->size += produced;
        }
    };
    for (;;) {
        const auto n = in.readInt32();
        if (!n || *n > 4096)
            return failWith(invalid);
        if (*n == 0) {
            if (QString reason = checks.finish(); !reason.isEmpty())
                return failWith(reason);
            if (QString gone = checks.missing(); !gone.isEmpty())
                return failWith(gone);
            break;
        }
        if (*n < 0)
            continue;
        QByteArray raw(*n, Qt::Uninitialized);
        if (!in.read(raw.data(), raw.size()))
            return failWith(invalid);
        const QString name = archiveio::decodeName(raw);
        if (name.startsWith(QLatin1String("NEXT:DISK"))) {
            bool numberOk = false;
            const int volume = name.mid(9, 3).toInt(&numberOk);
            // Each volume is read once and in order.
            if (!numberOk || volume != volumeNumber + 1 || name.size() != 12)
                return failWith(archiveio::volumeOrderText(volumeNumber, name.mid(9)));
            volumeNumber = volume;
            const QString next = TBackupFile::volumePath(archivePath, volume);
            in.close();
            if (!in.open(next))
                return failWith(QStringLiteral("Der Folgedatenträger %1 fehlt.").arg(next));
            listing.volumes.append(next);
            if (listing.entries.isEmpty() || !readDataPart(&listing.entries.last()))
                return failWith(invalid);
            continue;
        }
        if (QString reason = checks.finish(); !reason.isEmpty())
            return failWith(reason);
        const auto time = in.readInt32();
        if (!time)
            return failWith(invalid);
        const bool isFileList = name == TBackupFile::kFileListName && listing.entries.isEmpty();
        if (!isFileList) {
            if (++filesRead > listing.fileCount)
                return failWith(archiveio::entryCountText(listing.fileCount));
            checks.begin(name);
        }
        listing.entries.append({name, packeddatetime::unpack(*time), 0, checks.expected(name)});
        if (!readDataPart(&listing.entries.last(), isFileList ? &fileList : nullptr))
            return failWith(invalid);
        if (isFileList)
            checks.setFileList(fileList);
    }
    return listing;
}
