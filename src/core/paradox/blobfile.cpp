#include "blobfile.h"

#include <QIODevice>

namespace paradox {
namespace {

constexpr qint64 kBlockSize = 4096;
constexpr quint8 kSingleBlob = 2;
constexpr quint8 kSharedBlock = 3;
constexpr int kSlotTable = 12; // five bytes per slot
constexpr int kSlots = 64;

} // namespace

BlobFile::BlobFile(QIODevice* device) : m_device(device) {
    if (device)
        m_size = device->size();
}

std::optional<QByteArray> BlobFile::read(quint32 offset, quint32 length, QString* error) {
    if (!m_device) {
        *error = QStringLiteral("Die Notizdatei (.MB) fehlt.");
        return std::nullopt;
    }
    const qint64 block = offset & ~quint32(0xff);
    const int slot = int(offset & 0xff);
    const auto damaged = [&] {
        *error = QStringLiteral("Der Verweis in die Notizdatei (Position %1, Länge %2) ist "
                                "ungültig.")
                     .arg(block)
                     .arg(length);
        return std::nullopt;
    };
    if (block == 0 || block % kBlockSize != 0 || block + kBlockSize > m_size)
        return damaged();
    qint64 start = 0;
    if (slot == 0xff) {
        char head[9];
        if (!m_device->seek(block) || m_device->read(head, 9) != 9 || head[0] != char(kSingleBlob))
            return damaged();
        const quint32 stored = quint32(uchar(head[3])) | quint32(uchar(head[4])) << 8 |
                               quint32(uchar(head[5])) << 16 | quint32(uchar(head[6])) << 24;
        if (stored != length)
            return damaged();
        start = block + 9;
    } else {
        char type = 0;
        char entry[5];
        if (slot >= kSlots || !m_device->seek(block) || !m_device->getChar(&type) ||
            type != char(kSharedBlock) || !m_device->seek(block + kSlotTable + slot * 5) ||
            m_device->read(entry, 5) != 5)
            return damaged();
        const int at = uchar(entry[0]) * 16;
        const qint64 room = qint64(uchar(entry[1])) * 16;
        if (at < kSlotTable + kSlots * 5 || length > room || at + qint64(length) > kBlockSize)
            return damaged();
        start = block + at;
    }
    if (start + qint64(length) > m_size)
        return damaged();
    QByteArray data(qsizetype(length), Qt::Uninitialized);
    if (!m_device->seek(start) || m_device->read(data.data(), length) != qint64(length))
        return damaged();
    return data;
}

} // namespace paradox
