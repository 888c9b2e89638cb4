#include "archiveio.h"

#include "core/common/windows1252.h"

#include <QStringDecoder>
#include <QtEndian>

namespace archiveio {

QByteArray encodeName(const QString& name) {
    return windows1252::canEncode(name) ? windows1252::encode(name) : name.toUtf8();
}

QString decodeName(const QByteArray& bytes) {
    // Windows-1252 text with letters beyond ASCII is never valid UTF-8, so the two do not clash.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(bytes);
    if (!utf8.hasError())
        return asUtf8;
    return windows1252::decode(bytes);
}

bool Output::open(const QString& path) {
    m_ok = true;
    if (m_stream) {
        if (!m_stream->isOpen() && !m_stream->open(QIODevice::WriteOnly))
            m_ok = false;
        return m_ok;
    }
    m_file = std::make_unique<QFile>(path);
    m_ok = m_file->open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (!m_ok)
        m_file.reset();
    return m_ok;
}

bool Output::close() {
    if (!m_file)
        return m_ok;
    const bool flushed = m_file->flush();
    m_file->close();
    const bool ok = flushed && m_file->error() == QFileDevice::NoError;
    m_file.reset();
    m_ok = m_ok && ok;
    return ok;
}

QIODevice* Output::device() const {
    return m_stream ? m_stream : m_file.get();
}

void Output::write(QByteArrayView bytes) {
    QIODevice* d = device();
    if (!m_ok || !d || d->write(bytes.data(), bytes.size()) != bytes.size())
        m_ok = false;
}

void Output::writeInt32(qint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    write(QByteArrayView(bytes, 4));
}

qint64 Output::position() const {
    QIODevice* d = device();
    return d ? d->pos() : 0;
}

bool Input::open(const QString& path) {
    if (m_stream)
        return m_stream->isOpen() || m_stream->open(QIODevice::ReadOnly);
    m_file = std::make_unique<QFile>(path);
    if (!m_file->open(QIODevice::ReadOnly)) {
        m_file.reset();
        return false;
    }
    return true;
}

void Input::close() {
    m_file.reset();
}

QIODevice* Input::device() const {
    return m_stream ? m_stream : m_file.get();
}

std::optional<qint32> Input::readInt32() {
    char bytes[4];
    if (!read(bytes, 4))
        return std::nullopt;
    return qFromLittleEndian<qint32>(bytes);
}

bool Input::read(char* buffer, qint64 n) {
    QIODevice* d = device();
    qint64 done = 0;
    while (d && done < n) {
        const qint64 got = d->read(buffer + done, n - done);
        if (got <= 0)
            return false;
        done += got;
    }
    return d && done == n;
}

bool Input::skip(qint64 n) {
    QIODevice* d = device();
    return d && d->skip(n) == n;
}

} // namespace archiveio
