#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>

class QIODevice;

// Byte-level access to archive volumes: little-endian 32-bit integers and names.
namespace archiveio {

// Names are single-byte Windows-1252 text; a name it cannot hold is written as UTF-8.
QByteArray encodeName(const QString& name);
QString decodeName(const QByteArray& bytes);

// Writes to a volume file or to a caller's stream. Remembers the first failure.
class Output {
public:
    explicit Output(QIODevice* stream) : m_stream(stream) {}
    bool open(const QString& path); // a file, or the stream for ":STREAM"
    bool close();
    void write(QByteArrayView bytes);
    void writeInt32(qint32 value);
    qint64 position() const;
    bool ok() const { return m_ok; }

private:
    QIODevice* device() const;
    QIODevice* m_stream;
    std::unique_ptr<QFile> m_file;
    bool m_ok = true;
};

// Reads from a volume file or a caller's stream; a short read is a failure.
class Input {
public:
    explicit Input(QIODevice* stream) : m_stream(stream) {}
    bool open(const QString& path);
    void close();
    std::optional<qint32> readInt32();
    // Exactly n bytes into buffer, or false.
    bool read(char* buffer, qint64 n);
    bool skip(qint64 n);

private:
    QIODevice* device() const;
    QIODevice* m_stream;
    std::unique_ptr<QFile> m_file;
};

// "Die Sicherung ist beschädigt: " and what was found.
QString damagedText(const QString& what);
// A volume marker that does not name the volume after the one read last.
QString volumeOrderText(int volumeRead, const QString& named);
// More file entries than the archive's header counts.
QString entryCountText(int counted);

// One line of the file list entry: name, tab, packed time "=" size, and, when written here,
// a tab and "sha256:" with the file's checksum in hex. Readers that know only the first two
// fields read such a line as before.
QByteArray fileListLine(const QString& name, qint32 time, qint64 size, const QByteArray& sha256Hex);

// The SHA-256 of a file in hex, empty when it cannot be read.
QByteArray fileChecksum(const QString& path);

// Compares the stored files with the checksums of the file list while they are read. A list
// without checksums (older archives) checks nothing.
class ChecksumCheck {
public:
    void setFileList(const QByteArray& text);
    bool active() const { return !m_expected.isEmpty(); }
    QByteArray expected(const QString& name) const { return m_expected.value(name); }
    void begin(const QString& name);
    void add(const char* bytes, qint64 n);
    // Ends the entry begun last: empty, or the German reason why it does not match.
    QString finish();
    // After the end mark: empty, or the German reason naming a listed file never found.
    QString missing() const;

private:
    QHash<QString, QByteArray>
        m_expected; // stored name -> hex checksum ("" when the line has none)
    QSet<QString> m_seen;
    QString m_current;
    bool m_open = false;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
};

} // namespace archiveio
