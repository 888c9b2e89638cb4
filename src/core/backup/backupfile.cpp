#include "backupfile.h"

#include "archiveio.h"
#include "blockcodec.h"
#include "core/common/packeddatetime.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cmath>

namespace {

int zlibLevel(TBackupFile::CompressionLevel level) {
    switch (level) {
    case TBackupFile::clFastest:
        return 1;
    case TBackupFile::clNone:
        return 0;
    case TBackupFile::clMax:
        return 9;
    case TBackupFile::clDefault:
        break;
    }
    return 6;
}

} // namespace

int TBackupFile::percentOf(qint64 done, qint64 total) {
    if (total <= 0)
        return 100;
    return int(std::clamp<long long>(std::llround(double(done) * 100.0 / double(total)), 0, 100));
}

TBackupFile::TBackupFile() = default;
TBackupFile::~TBackupFile() = default;

void TBackupFile::setBackupMode(BackupMode mode) {
    m_backupMode = mode;
    if (mode == bmIncremental)
        m_setArchiveFlag = true;
}

void TBackupFile::cancel() {
    m_continue = false;
    m_cancelled = true;
}

void TBackupFile::resetRunState() {
    m_continue = true;
    m_cancelled = false;
    m_error = NoError;
    m_archiveError.clear();
    m_damage.clear();
    m_writeFailureCause = 0;
    m_checksummed = false;
    m_totalSize = 0;
    m_bytesProcessed = 0;
    m_bytesWrittenToArchive = 0;
    m_fileCount = 0;
    m_volumes = 0;
    m_currentFile.clear();
}

void TBackupFile::fail(int code) {
    if (m_error == NoError) {
        m_error = code;
        // Taken at once, before another call changes it.
        if (code == OverwritingFailed || code == CannotWriteArchive)
            m_writeFailureCause = errno;
    }
    m_continue = false;
}

QString TBackupFile::errorText(int code) {
    switch (code) {
    case CannotReadFile:
        return QStringLiteral("Cannot read file");
    case OverwritingFailed:
        return QStringLiteral("Overwriting file failed");
    case CannotReadArchive:
        return QStringLiteral("Cannot read archive");
    case CannotWriteArchive:
        return QStringLiteral("Cannot write to archive");
    case InvalidArchive:
        return QStringLiteral("Invalid archive type");
    case CompressionError:
        return QStringLiteral("Compression error");
    case CannotCreateFileList:
        return QStringLiteral("Cannot create temporary file to save the file IDs");
    case ArchiveDamaged:
        return QStringLiteral("Archive damaged");
    default:
        return {};
    }
}

int TBackupFile::compressionRate() const {
    if (m_totalSize <= 0)
        return 0;
    return 100 - int(std::llround(double(m_bytesWrittenToArchive) * 100.0 / double(m_totalSize)));
}

QString TBackupFile::volumePath(const QString& archivePath, int volume) {
    const QFileInfo info(archivePath);
    const QString digits = QStringLiteral("%1").arg(volume, 3, 10, QLatin1Char('0'));
    const QString base = info.suffix().isEmpty()
                             ? archivePath
                             : archivePath.left(archivePath.size() - info.suffix().size() - 1);
    return base + QLatin1Char('.') + digits;
}

void TBackupFile::reportProgress(const QString& name, int percent) {
    if (OnProgress)
        OnProgress(name, m_continue, percent);
}

void TBackupFile::reportError(const QString& fileName) {
    if (m_error == NoError)
        return;
    if (OnError)
        OnError(m_error, fileName, errorText(m_error));
    else if (m_messages && !errorText(m_error).isEmpty())
        m_messages->error(errorText(m_error));
}

bool TBackupFile::askForDisk(int volume) {
    if (OnNeedDisk) {
        OnNeedDisk(volume, m_continue);
    } else if (m_messages) {
        const auto answer = m_messages->confirm(
            QStringLiteral("Please insert disk %1 and click OK to continue.").arg(volume),
            MessageButton::Ok | MessageButton::Cancel);
        if (answer != MessageButton::Ok)
            m_continue = false;
    }
    return m_continue;
}

void TBackupFile::setSource(const QString& listedPath, const QString& readFrom) {
    m_sources.insert(QFileInfo(listedPath).absoluteFilePath().toLower(), readFrom);
}

QList<TBackupFile::Listed> TBackupFile::listFiles(const QStringList& patterns,
                                                  const QString& archivePath) const {
    QList<Listed> files;
    QSet<QString> seen;
    const QString archive =
        archivePath.isEmpty() ? QString() : QFileInfo(archivePath).absoluteFilePath().toLower();
    for (const QString& raw : patterns) {
        QString pattern = raw;
        bool recursive = false;
        if (const qsizetype s = pattern.indexOf(QLatin1String("/s"), 0, Qt::CaseInsensitive);
            s >= 0 && (s + 2 == pattern.size() || pattern.at(s + 2).isSpace())) {
            pattern = pattern.left(s).trimmed();
            recursive = true;
        }
        const QFileInfo info(pattern);
        const QDir dir = info.absoluteDir();
        // Names match without letter case; the files keep their real names for opening.
        QDirIterator it(dir.path(), {info.fileName()}, QDir::Files | QDir::Hidden | QDir::System,
                        recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
        QStringList found;
        while (it.hasNext())
            found.append(it.next());
        std::sort(found.begin(), found.end());
        for (const QString& path : found) {
            const QString name = QFileInfo(path).absoluteFilePath().toLower();
            if (name == archive || seen.contains(name))
                continue;
            seen.insert(name);
            files.append({path, name});
        }
    }
    return files;
}

bool TBackupFile::backup(const QStringList& patterns, const QString& archivePath) {
    resetRunState();
    reportProgress(QString(), 0);
    const bool toStream = archivePath == kStreamPath;
    QList<Listed> files = listFiles(patterns, toStream ? QString() : archivePath);
    // Where the bytes of a listed file are read from; its time stays the listed file's.
    auto readPath = [this](const Listed& f) { return m_sources.value(f.name, f.path); };
    for (const Listed& f : files)
        m_totalSize += QFileInfo(readPath(f)).size();

    QTemporaryFile fileList(QDir::temp().filePath(QStringLiteral("FIDXXXXXX")));
    const int listedFiles = int(files.size());
    // The checksum each file had when listed; a file that changes before it is stored would
    // make the archive refuse to restore, so the backup fails instead.
    QHash<QString, QByteArray> checksums;
    if (m_saveFileID) {
        QByteArray text;
        for (const Listed& f : files) {
            const QFileInfo info(f.path);
            const QByteArray sum = archiveio::fileChecksum(readPath(f));
            checksums.insert(f.name, sum);
            text += archiveio::fileListLine(f.name, packeddatetime::pack(info.lastModified()),
                                            QFileInfo(readPath(f)).size(), sum);
        }
        if (fileList.open() && fileList.write(text) == text.size() && fileList.flush()) {
            files.prepend({fileList.fileName(), kFileListName});
            m_totalSize += text.size();
        } else {
            fail(CannotCreateFileList);
        }
    }

    archiveio::Output out(toStream ? m_stream : nullptr);
    if (m_continue) {
        if (out.open(archivePath))
            m_volumes = 1;
        else
            fail(CannotWriteArchive);
    }
    if (m_continue) {
        const QByteArray title = archiveio::encodeName(m_title);
        out.writeInt32(qint32(title.size()));
        out.write(title);
        out.writeInt32(qint32(m_totalSize));
        out.writeInt32(listedFiles);
        if (!out.ok())
            fail(CannotWriteArchive);
    }

    const int level = zlibLevel(m_level);
    BlockCompressor compressor(level);
    QByteArray input(kBlockSize, Qt::Uninitialized);
    QByteArray output(kBlockSize, Qt::Uninitialized);
    int volume = 1;
    bool success = false;

    for (const Listed& entry : std::as_const(files)) {
        if (!m_continue)
            break;
        QFile source(readPath(entry));
        if (!source.exists())
            continue; // vanished since the listing
        m_currentFile = entry.name;
        out.writeInt32(qint32(archiveio::encodeName(entry.name).size()));
        out.write(archiveio::encodeName(entry.name));
        if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            fail(CannotReadFile);
            break;
        }
        out.writeInt32(packeddatetime::pack(QFileInfo(entry.path).lastModified()));
        qint64 remaining = source.size();
        QCryptographicHash stored(QCryptographicHash::Sha256);
        bool freshVolume = false;
        for (;;) {
            // One data part: marker, blocks while the volume has room, block end.
            out.write(QByteArrayView("EC2\0", 4));
            m_bytesWrittenToArchive += 4;
            bool wroteBlock = false;
            while (remaining > 0 && m_continue &&
                   (m_maxSize == 0 || out.position() < m_maxSize - kVolumeMargin ||
                    (freshVolume && !wroteBlock))) {
                const qint64 n = source.read(input.data(), qMin<qint64>(kBlockSize, remaining));
                if (n <= 0) {
                    if (n < 0)
                        fail(CannotReadFile);
                    remaining = 0; // the file shrank since the listing
                    break;
                }
                remaining -= n;
                m_bytesProcessed += n;
                stored.addData(QByteArrayView(input.constData(), n));
                int packed = 0;
                switch (compressor.compress(input.constData(), int(n), output.data(), kBlockSize,
                                            packed)) {
                case BlockCompressor::Result::Fits:
                    out.writeInt32(packed);
                    out.write(QByteArrayView(output.constData(), packed));
                    m_bytesWrittenToArchive += 4 + packed;
                    break;
                case BlockCompressor::Result::TooBig:
                    out.writeInt32(qint32(-n));
                    out.write(QByteArrayView(input.constData(), n));
                    m_bytesWrittenToArchive += 4 + n;
                    break;
                case BlockCompressor::Result::Error:
                    fail(CompressionError);
                    break;
                }
                wroteBlock = true;
                if (!out.ok())
                    fail(CannotWriteArchive);
                QCoreApplication::processEvents();
                reportProgress(entry.name, percentOf(m_bytesProcessed, m_totalSize));
            }
            out.writeInt32(0);
            m_bytesWrittenToArchive += 4;
            if (!out.ok())
                fail(CannotWriteArchive);
            if (remaining <= 0 || !m_continue)
                break;
            // The volume is full: mark it, and go on in the next one.
            ++volume;
            const QByteArray marker =
                QStringLiteral("NEXT:DISK%1").arg(volume, 3, 10, QLatin1Char('0')).toLatin1();
            out.writeInt32(qint32(marker.size()));
            out.write(marker);
            if (!out.close())
                fail(CannotWriteArchive);
            if (!m_continue || !askForDisk(volume))
                break;
            if (toStream || !out.open(volumePath(archivePath, volume))) {
                fail(CannotWriteArchive);
                break;
            }
            m_volumes = volume;
            freshVolume = true;
        }
        source.close();
        if (m_continue && checksums.contains(entry.name) &&
            stored.result().toHex() != checksums.value(entry.name))
            fail(CannotReadFile);
        if (entry.name != kFileListName && remaining <= 0 && m_error == NoError)
            ++m_fileCount;
    }
    if (m_continue) {
        out.writeInt32(0);
        success = out.ok();
        if (!success)
            fail(CannotWriteArchive);
    }
    if (!out.close() && success) {
        success = false;
        fail(CannotWriteArchive);
    }
    if (fileList.isOpen())
        fileList.remove();
    reportProgress(QString(), 100);
    reportError(m_currentFile);
    return success && m_error == NoError;
}
