// Reading an archive back: TBackupFile::restore.
#include "archiveio.h"
#include "backupfile.h"
#include "blockcodec.h"
#include "core/common/packeddatetime.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint32 kMaxNameLength = 4096;

// True when another program holds a lock on the file (as a running program holds on its
// database), so it cannot be replaced safely now.
bool lockedByOtherProgram(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock probe = {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    const bool locked = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

// Where an entry goes: below the target directory, never outside it.
std::optional<QString> targetPathFor(const QString& name, const QString& target, bool fullPath) {
    if (name.contains(QChar::Null))
        return std::nullopt; // no file system takes such a name
    if (target.isEmpty())
        return name;
    QString n = name;
    n.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString relative;
    if (fullPath) {
        // A drive part such as "c:/" is dropped, as is the root of a POSIX path.
        if (n.size() >= 3 && n.at(0).isLetter() && n.at(1) == QLatin1Char(':') &&
            n.at(2) == QLatin1Char('/'))
            relative = n.mid(3);
        else
            relative = n;
        while (relative.startsWith(QLatin1Char('/')))
            relative.remove(0, 1);
        relative = QDir::cleanPath(relative);
        if (relative.isEmpty() || relative == QLatin1String(".") ||
            relative == QLatin1String("..") || relative.startsWith(QLatin1String("../")) ||
            QDir::isAbsolutePath(relative))
            return std::nullopt;
    } else {
        relative = n.section(QLatin1Char('/'), -1);
        if (relative.isEmpty() || relative == QLatin1String(".") || relative == QLatin1String(".."))
            return std::nullopt;
    }
    return target + relative;
}

} // namespace

bool TBackupFile::restore(const QString& archivePath, const QString& targetDirectory) {
    resetRunState();
    QString target = targetDirectory;
    if (!target.isEmpty() && !target.endsWith(QLatin1Char('/')))
        target += QLatin1Char('/');
    const bool fromStream = archivePath == kStreamPath;
    if (!fromStream && !QFile::exists(archivePath))
        return false;

    archiveio::Input in(fromStream ? m_stream : nullptr);
    auto abort = [this](int code) {
        m_archiveError = errorText(code);
        m_continue = false;
    };
    auto damaged = [this](const QString& reason) {
        if (m_damage.isEmpty())
            m_damage = reason;
        fail(ArchiveDamaged);
    };
    if (!in.open(archivePath)) {
        abort(CannotReadArchive);
        return false;
    }
    qint32 declaredFiles = 0; // a file beyond them is a damaged entry, a file list among them
    {
        const auto titleLength = in.readInt32();
        QByteArray title(qBound(0, titleLength.value_or(0), kMaxNameLength), Qt::Uninitialized);
        const bool titleOk = titleLength && *titleLength >= 0 && *titleLength <= kMaxNameLength &&
                             in.read(title.data(), title.size());
        const auto total = titleOk ? in.readInt32() : std::nullopt;
        const auto count = total ? in.readInt32() : std::nullopt;
        if (!count) {
            abort(CannotReadArchive);
            reportProgress(QString(), 100);
            return false;
        }
        m_totalSize = qint64(quint32(*total));
        declaredFiles = *count;
    }

    BlockDecompressor decompressor;
    QByteArray block(kBlockSize, Qt::Uninitialized);
    QByteArray plain(kBlockSize, Qt::Uninitialized);
    std::unique_ptr<QFile> output; // the file being restored
    QString outputPath;
    qint32 outputTime = 0;
    bool lastEntryRestored = false; // a continued data part belongs to it
    bool ended = false;
    bool anyEntry = false;
    qint32 filesRead = 0;
    int volumeNumber = 1;
    archiveio::ChecksumCheck checks;

    // Reads one data part into output, or passes over it when output is null (still reading
    // it whole when checksums are to be compared).
    auto readDataPart = [&](QIODevice* into) {
        char marker[4];
        if (!in.read(marker, 4)) {
            fail(CannotReadArchive);
            return;
        }
        if (QByteArrayView(marker, 4) != QByteArrayView("EC2\0", 4)) {
            abort(InvalidArchive);
            return;
        }
        while (m_continue) {
            const auto n = in.readInt32();
            if (!n) {
                fail(CannotReadArchive);
                return;
            }
            if (*n == 0)
                return;
            const qint64 length = *n > 0 ? qint64(*n) : -qint64(*n);
            if (length > kBlockSize) {
                abort(InvalidArchive);
                return;
            }
            if (!into && !checks.active()) {
                if (!in.skip(length))
                    fail(CannotReadArchive);
                continue;
            }
            if (!in.read(block.data(), length)) {
                fail(CannotReadArchive);
                return;
            }
            const char* bytes = block.constData();
            int produced = int(length);
            if (*n > 0) {
                if (!decompressor.decompress(block.constData(), int(length), plain.data(),
                                             kBlockSize, produced)) {
                    fail(CompressionError);
                    return;
                }
                bytes = plain.constData();
            }
            checks.add(bytes, produced);
            if (into && into->write(bytes, produced) != produced) {
                fail(OverwritingFailed);
                return;
            }
            m_bytesProcessed += produced;
            QCoreApplication::processEvents();
            reportProgress(m_currentFile, percentOf(m_bytesProcessed, m_totalSize));
        }
    };
    auto finishOutput = [&] {
        if (!output)
            return;
        if (!output->flush())
            fail(OverwritingFailed);
        if (m_continue)
            output->setFileTime(packeddatetime::unpack(outputTime),
                                QFileDevice::FileModificationTime);
        if (OnFileRestored && m_continue)
            OnFileRestored(outputPath, *output);
        output.reset();
    };

    while (m_continue) {
        const auto n = in.readInt32();
        if (!n) {
            fail(CannotReadArchive); // the archive ends without its end mark
            break;
        }
        if (*n == 0) {
            ended = true;
            if (const QString reason = checks.finish(); !reason.isEmpty())
                damaged(reason);
            else if (const QString gone = checks.missing(); !gone.isEmpty())
                damaged(gone);
            break;
        }
        if (*n < 0)
            continue;
        if (*n > kMaxNameLength) {
            abort(InvalidArchive);
            break;
        }
        QByteArray raw(*n, Qt::Uninitialized);
        if (!in.read(raw.data(), raw.size())) {
            fail(CannotReadArchive);
            break;
        }
        const QString name = archiveio::decodeName(raw);

        if (name.startsWith(QLatin1String("NEXT:DISK"))) {
            in.close();
            bool numberOk = false;
            const int volume = name.mid(9, 3).toInt(&numberOk);
            if (!numberOk || fromStream) {
                abort(InvalidArchive);
                break;
            }
            // Each volume is read once, in order: a marker naming any other would read a
            // volume twice or leave one out.
            if (volume != volumeNumber + 1 || name.size() != 12) {
                damaged(archiveio::volumeOrderText(volumeNumber, name.mid(9)));
                break;
            }
            volumeNumber = volume;
            const QString next = volumePath(archivePath, volume);
            do {
                askForDisk(volume);
            } while (m_continue && !QFile::exists(next) && (OnNeedDisk || m_messages));
            if (!m_continue || !in.open(next)) {
                if (!m_cancelled)
                    fail(CannotReadArchive);
                break;
            }
            if (lastEntryRestored) {
                output = std::make_unique<QFile>(outputPath);
                if (!output->open(QIODevice::WriteOnly | QIODevice::Append)) {
                    fail(OverwritingFailed);
                    break;
                }
            }
            readDataPart(output.get());
            finishOutput();
            continue;
        }

        if (const QString reason = checks.finish(); !reason.isEmpty()) {
            damaged(reason);
            break;
        }
        m_currentFile = name;
        lastEntryRestored = false;
        const bool isFileList = name == kFileListName && !anyEntry;
        if (!isFileList && ++filesRead > declaredFiles) {
            damaged(archiveio::entryCountText(declaredFiles));
            break;
        }
        const auto time = in.readInt32();
        if (!time) {
            fail(CannotReadArchive);
            break;
        }
        const auto path = targetPathFor(name, target, m_restoreFullPath);
        if (!path && name != kFileListName) {
            fail(InvalidArchive); // a name that would leave the target directory
            break;
        }
        QString targetPath = path.value_or(QString());
        bool restoreIt = name != kFileListName;
        if (restoreIt) {
            const QFileInfo existing(targetPath);
            const bool exists = existing.exists();
            const bool older = exists && existing.lastModified() < packeddatetime::unpack(*time);
            switch (m_restoreMode) {
            case rmAll:
                break;
            case rmNoOverwrite:
                restoreIt = !exists;
                break;
            case rmNewer:
                restoreIt = !exists || older;
                break;
            case rmExisting:
                restoreIt = exists;
                break;
            case rmExistingNewer:
                restoreIt = exists && older;
                break;
            }
            if (OnRestoreFile)
                OnRestoreFile(targetPath, restoreIt, *time);
        }
        if (restoreIt) {
            const QFileInfo info(targetPath);
            QDir().mkpath(info.absolutePath());
            if (!info.absoluteDir().exists())
                restoreIt = false;
        }
        if (restoreIt && QFile::exists(targetPath) && lockedByOtherProgram(targetPath)) {
            fail(FileLocked);
            break;
        }
        if (restoreIt) {
            output = std::make_unique<QFile>(targetPath);
            if (!output->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                output.reset();
                fail(OverwritingFailed);
                break;
            }
            outputPath = targetPath;
            outputTime = *time;
            lastEntryRestored = true;
            ++m_fileCount;
        }
        if (isFileList) {
            // The list is read first: it holds the checksums of the files that follow.
            QBuffer list;
            list.open(QIODevice::WriteOnly);
            readDataPart(&list);
            checks.setFileList(list.data());
            m_checksummed = checks.active();
        } else {
            checks.begin(name);
            readDataPart(output.get());
        }
        anyEntry = true;
        finishOutput();
    }
    output.reset();
    in.close();
    reportProgress(QString(), 100);
    reportError(m_currentFile);
    return ended && m_continue && m_error == NoError && m_archiveError.isEmpty();
}
