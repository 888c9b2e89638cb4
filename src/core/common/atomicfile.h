#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QString>

// Every file the program writes goes through here: the bytes go to a temporary file beside
// the target, every write, the sync to disk and the close are checked, and only then does
// the temporary file take the target's name. On any failure (a full disk above all) the
// old file stays as it was, no temporary file is left, and the caller gets a German text.
namespace atomicfile {

// Writes content as the whole file at path. false with error set on failure.
bool write(const QString& path, const QByteArray& content, QString* error = nullptr);

// The German cause of a failed file operation ("Auf dem Datenträger ist nicht genug Platz") for
// a system error number.
QString causeText(int error);

// The German text for a file that could not be written, with the cause.
QString failureText(const QString& path, const QString& cause);

// For long files: the bytes go straight into the temporary file beside the target, which
// takes the target's name on commit. Without a commit (a failure, a cancel, the object
// going away) the temporary file is removed and the target stays as it was.
class Stream {
public:
    explicit Stream(QString path);
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;
    bool open(QString* error = nullptr);
    // false once a write failed; commit then reports why.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    bool commit(QString* error = nullptr);
    void cancel();

private:
    bool fail(int cause, QString* error);

    QString m_path;
    QByteArray m_finalName;
    QByteArray m_tempName;
    QString m_finalPath;
    int m_fd = -1;
    int m_failure = 0;
};

// For writers that produce a file piece by piece through a device: the bytes collect in
// memory and reach the disk on commit, all or nothing.
class File {
public:
    explicit File(QString path);
    const QString& path() const { return m_path; }
    QIODevice* device() { return &m_buffer; }
    bool commit(QString* error = nullptr);

private:
    QString m_path;
    QByteArray m_bytes;
    QBuffer m_buffer;
};

} // namespace atomicfile
