#include "archiveio.h"

#include "core/common/windows1252.h"

#include <QFile>
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

namespace {
const QByteArray kSha256Prefix = QByteArrayLiteral("sha256:");

QString damaged(const QString& what) {
    return damagedText(what);
}
} // namespace

QString damagedText(const QString& what) {
    return QStringLiteral("Die Sicherung ist beschädigt: %1").arg(what);
}

QString volumeOrderText(int volumeRead, const QString& named) {
    return damagedText(QStringLiteral("Auf Datenträger %1 folgt der Verweis auf Datenträger %2.")
                           .arg(volumeRead)
                           .arg(named));
}

QString entryCountText(int counted) {
    return damagedText(
        QStringLiteral("Sie enthält mehr Dateien als die %1, die ihr Kopf angibt.").arg(counted));
}

QByteArray fileListLine(const QString& name, qint32 time, qint64 size,
                        const QByteArray& sha256Hex) {
    QByteArray line =
        encodeName(name) + '\t' + QByteArray::number(time) + '=' + QByteArray::number(size);
    if (!sha256Hex.isEmpty())
        line += '\t' + kSha256Prefix + sha256Hex;
    return line + "\r\n";
}

QByteArray fileChecksum(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result().toHex();
}

void ChecksumCheck::setFileList(const QByteArray& text) {
    m_expected.clear();
    bool anyChecksum = false;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split('\t');
        if (fields.size() < 2 || fields.first().isEmpty())
            continue;
        QByteArray sum;
        for (qsizetype i = 2; i < fields.size(); ++i) {
            if (fields[i].startsWith(kSha256Prefix))
                sum = fields[i].mid(kSha256Prefix.size()).toLower();
        }
        anyChecksum = anyChecksum || !sum.isEmpty();
        m_expected.insert(decodeName(fields.first()), sum);
    }
    // Once a list carries checksums, every file must have one: a line that lost it is damage.
    if (!anyChecksum)
        m_expected.clear();
}

void ChecksumCheck::begin(const QString& name) {
    m_current = name;
    m_open = active();
    m_hash.reset();
}

void ChecksumCheck::add(const char* bytes, qint64 n) {
    if (m_open)
        m_hash.addData(QByteArrayView(bytes, n));
}

QString ChecksumCheck::finish() {
    if (!m_open)
        return {};
    m_open = false;
    const auto expected = m_expected.constFind(m_current);
    if (expected == m_expected.cend() || m_seen.contains(m_current))
        return damaged(
            QStringLiteral("Die Datei %1 steht nicht in ihrem Inhaltsverzeichnis.").arg(m_current));
    m_seen.insert(m_current);
    if (expected->isEmpty() || m_hash.result().toHex() != *expected)
        return damaged(
            QStringLiteral("Der Inhalt der Datei %1 stimmt nicht mit ihrer Prüfsumme überein.")
                .arg(m_current));
    return {};
}

QString ChecksumCheck::missing() const {
    for (auto it = m_expected.cbegin(); it != m_expected.cend(); ++it) {
        if (!m_seen.contains(it.key()))
            return damaged(QStringLiteral("Die Datei %1 fehlt.").arg(it.key()));
    }
    return {};
}

} // namespace archiveio
