#pragma once

#include <QByteArray>
#include <QFile>
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

} // namespace archiveio
