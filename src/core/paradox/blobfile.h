#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QIODevice;

// The memo and graphic file (.MB) of a table: 4 KB blocks, each blob either alone in its
// block(s) or one of up to 64 small blobs of a shared block.
namespace paradox {

class BlobFile {
public:
    // The device stays owned by the caller; null when the table has no such file.
    explicit BlobFile(QIODevice* device = nullptr);

    bool present() const { return m_device != nullptr; }
    // The blob a record refers to by offset (block position and slot in its low byte) and
    // length. Nothing with a German reason when the reference does not fit the file.
    std::optional<QByteArray> read(quint32 offset, quint32 length, QString* error);

private:
    QIODevice* m_device;
    qint64 m_size = 0;
};

} // namespace paradox
