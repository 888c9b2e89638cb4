#pragma once

#include <QString>

// Keeps the processes that use one data directory apart, through locks on the lock file
// WinDsKm.lck that the system drops when a process ends, however it ends:
// - Program: the program while it has the data open, and the tool commands that must not
//   run beside it (add-cd, lend, return, field labels). One at a time.
// - Writer: tool commands that change single records beside a running program (import,
//   template import, check). Any number at a time, and beside a Program holder.
// - Replace: commands that replace or rebuild the data files (restore, check --reindex,
//   import-paradox). Only while nobody else holds any lock.
// A Program or Replace holder writes its process into the file and empties it on release;
// a file that still names a holder (or is empty though nobody holds it) tells that a
// process ended without releasing it. The file is removed when the last holder releases.
class DataDirectoryLock {
public:
    static constexpr auto kFileName = "WinDsKm.lck";

    enum class Mode { Program, Writer, Replace };

    explicit DataDirectoryLock(const QString& dataDirectory = {}, Mode mode = Mode::Program);
    ~DataDirectoryLock();
    DataDirectoryLock(const DataDirectoryLock&) = delete;
    DataDirectoryLock& operator=(const DataDirectoryLock&) = delete;

    // Only while the lock is not held.
    void setDirectory(const QString& dataDirectory);
    const QString& directory() const { return m_directory; }
    Mode mode() const { return m_mode; }

    enum class Result { Locked, InUse, NotWritable };
    // Takes the lock without waiting.
    Result acquire();
    // The same for commands: when another process holds the lock (or the lock file cannot be
    // written), refusal receives the German text for the user.
    bool tryLock(QString* refusal = nullptr);
    void release();
    bool isHeld() const { return m_fd >= 0; }

    // The last Program or Replace lock took over from a process that had ended without
    // releasing it.
    bool tookOverStaleLock() const { return m_tookOverStale; }

    static QString inUseText();
    // What a Writer hears while the data are being replaced or rebuilt.
    static QString beingReplacedText();

private:
    QString lockFilePath() const;

    QString m_directory;
    Mode m_mode;
    int m_fd = -1;
    bool m_tookOverStale = false;
};
