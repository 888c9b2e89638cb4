#pragma once

#include "core/common/messageservice.h"

#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QIODevice;

// Packs files into one archive and unpacks it again. Files are stored in independent
// blocks of at most 16384 bytes, each one zlib stream or stored as it is when it does not
// shrink; an archive can continue over further volumes of limited size. All integers are
// 32-bit little-endian.
class TBackupFile {
public:
    enum BackupMode { bmAll, bmIncremental };
    enum CompressionLevel { clFastest, clNone, clDefault, clMax };
    enum RestoreMode { rmAll, rmNoOverwrite, rmNewer, rmExisting, rmExistingNewer };

    // Error codes reported through OnError.
    enum ErrorCode {
        NoError = 0,
        CannotReadFile = 1,
        OverwritingFailed = 2,
        CannotReadArchive = 3,
        CannotWriteArchive = 4,
        InvalidArchive = 5,
        CompressionError = 6,
        CannotCreateFileList = 7,
        FileLocked = 8,
        ArchiveDamaged = 9, // checksum mismatch or volumes out of order; damage() says which
    };

    static constexpr const char* Version = "5.10";
    static constexpr int kBlockSize = 16384;
    static constexpr qint64 kVolumeMargin = 16484;
    static inline const QString kStreamPath = QStringLiteral(":STREAM");
    static inline const QString kFileListName = QStringLiteral("FILE:LIST");

    using ProgressHandler =
        std::function<void(const QString& fileName, bool& continueFlag, int percent)>;
    using NeedDiskHandler = std::function<void(int volume, bool& continueFlag)>;
    using ErrorHandler =
        std::function<void(int code, const QString& fileName, const QString& text)>;
    using RestoreFileHandler =
        std::function<void(QString& targetPath, bool& restore, qint32 fileTime)>;
    using FileRestoredHandler = std::function<void(const QString& targetPath, QFile& output)>;

    TBackupFile();
    ~TBackupFile();

    // Settings. Linux knows no archive attribute: every file counts as changed, so
    // bmIncremental stores all files like bmAll, and SetArchiveFlag changes nothing.
    BackupMode backupMode() const { return m_backupMode; }
    void setBackupMode(BackupMode mode);
    CompressionLevel compressionLevel() const { return m_level; }
    void setCompressionLevel(CompressionLevel level) { m_level = level; }
    RestoreMode restoreMode() const { return m_restoreMode; }
    void setRestoreMode(RestoreMode mode) { m_restoreMode = mode; }
    qint64 maxSize() const { return m_maxSize; }
    void setMaxSize(qint64 bytes) { m_maxSize = bytes; } // 0: unlimited; handlers may change it
    bool setArchiveFlag() const { return m_setArchiveFlag; }
    void setSetArchiveFlag(bool on) { m_setArchiveFlag = on; }
    bool restoreFullPath() const { return m_restoreFullPath; }
    void setRestoreFullPath(bool on) { m_restoreFullPath = on; }
    bool saveFileID() const { return m_saveFileID; }
    void setSaveFileID(bool on) { m_saveFileID = on; }
    QString backupTitle() const { return m_title; }
    void setBackupTitle(const QString& title) { m_title = title; }

    // The device used for the archive path ":STREAM".
    void setStream(QIODevice* stream) { m_stream = stream; }
    // Default questions and error boxes when no handler is set.
    void setMessageService(MessageService* messages) { m_messages = messages; }

    ProgressHandler OnProgress;
    NeedDiskHandler OnNeedDisk;
    ErrorHandler OnError;
    RestoreFileHandler OnRestoreFile;
    FileRestoredHandler OnFileRestored;

    // Stores the listed file under its own name but reads its bytes from another file (a
    // consistent copy of a file that may change meanwhile). Cleared by clearSources().
    void setSource(const QString& listedPath, const QString& readFrom);
    void clearSources() { m_sources.clear(); }

    bool backup(const QStringList& patterns, const QString& archivePath);
    // An empty target directory restores every entry to its stored path.
    bool restore(const QString& archivePath, const QString& targetDirectory);
    void cancel();

    bool cancelled() const { return m_cancelled; }
    int errorCode() const { return m_error; }
    // "Cannot read archive" or "Invalid archive type" when the last restore stopped at a
    // damaged archive; empty otherwise.
    const QString& archiveError() const { return m_archiveError; }
    // The German reason when the last restore found the archive damaged (a file that does not
    // match its checksum, a volume out of order); empty otherwise.
    const QString& damage() const { return m_damage; }
    // The system's error number when a file or the archive could not be written (a full disk,
    // no permission); 0 otherwise.
    int writeFailureCause() const { return m_writeFailureCause; }
    // True when the last restore read an archive whose file list carries checksums.
    bool checksumsVerified() const { return m_checksummed; }
    int compressionRate() const;
    int filesProcessed() const { return m_fileCount; }
    // The volumes the last backup opened (1 when it fitted into the first).
    int volumesWritten() const { return m_volumes; }

    static QString errorText(int code);
    // The path of volume n (2, 3, ...): the extension replaced by "." and three digits.
    static QString volumePath(const QString& archivePath, int volume);

    struct Listed {
        QString path; // real path on disk
        QString name; // lower-case full path, as stored
    };
    // The files the patterns match, in pattern order, without duplicates and without the
    // archive itself.
    QList<Listed> listFiles(const QStringList& patterns, const QString& archivePath) const;

private:
    class Writer;
    class Reader;
    static int percentOf(qint64 done, qint64 total);
    void resetRunState();
    void reportProgress(const QString& name, int percent);
    void reportError(const QString& fileName);
    void fail(int code);
    bool askForDisk(int volume);

    BackupMode m_backupMode = bmAll;
    CompressionLevel m_level = clDefault;
    RestoreMode m_restoreMode = rmAll;
    qint64 m_maxSize = 0;
    bool m_setArchiveFlag = false;
    bool m_restoreFullPath = false;
    bool m_saveFileID = false;
    QString m_title;
    QIODevice* m_stream = nullptr;
    QHash<QString, QString> m_sources; // listed name (lower case) -> file read instead
    MessageService* m_messages = nullptr;

    // run state
    bool m_continue = true;
    bool m_cancelled = false;
    int m_error = NoError;
    QString m_archiveError;
    QString m_damage;
    int m_writeFailureCause = 0;
    bool m_checksummed = false;
    qint64 m_totalSize = 0;
    qint64 m_bytesProcessed = 0;
    qint64 m_bytesWrittenToArchive = 0;
    int m_fileCount = 0;
    int m_volumes = 0;
    QString m_currentFile;
};
