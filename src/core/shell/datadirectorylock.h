#pragma once

#include <QString>
#include <memory>

class QLockFile;

// Marks a data directory as in use by one process: the program while it has the database
// open, and tool commands that replace or rebuild the data files while they run. A lock
// left behind by a process that is gone is taken over; that also tells that the process
// did not end cleanly.
class DataDirectoryLock {
public:
    static constexpr auto kFileName = "WinDsKm.lck";

    explicit DataDirectoryLock(const QString& dataDirectory = {});
    ~DataDirectoryLock();
    DataDirectoryLock(const DataDirectoryLock&) = delete;
    DataDirectoryLock& operator=(const DataDirectoryLock&) = delete;

    // Only while the lock is not held.
    void setDirectory(const QString& dataDirectory);
    const QString& directory() const { return m_directory; }

    enum class Result { Locked, InUse, NotWritable };
    // Takes the lock without waiting.
    Result acquire();
    // The same for commands: when another process holds the lock (or the lock file cannot be
    // written), refusal receives the German text for the user.
    bool tryLock(QString* refusal = nullptr);
    void release();
    bool isHeld() const;

    // The last tryLock took over the lock of a process that had ended without releasing it.
    bool tookOverStaleLock() const { return m_tookOverStale; }

    static QString inUseText();

private:
    QString lockFilePath() const;

    QString m_directory;
    std::unique_ptr<QLockFile> m_file;
    bool m_tookOverStale = false;
};
