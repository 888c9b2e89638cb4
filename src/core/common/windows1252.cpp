#include "windows1252.h"

#include <array>

namespace windows1252 {
namespace {

// Code points of the bytes 0x80..0x9F. The five bytes Windows leaves undefined map to the
// C1 control of the same value, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

// The byte for a UTF-16 unit, or -1 when Windows-1252 has none.
int byteFor(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    for (int i = 0; i < int(kHighControls.size()); ++i) {
        if (kHighControls[i] == unit)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

bool canEncode(QStringView text) {
    for (QChar c : text) {
        if (byteFor(c.unicode()) < 0)
            return false;
    }
    return true;
}

QByteArray encode(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const int b = byteFor(unit);
        out.append(b < 0 ? '?' : char(b));
        // A surrogate pair is one character and so one replacement.
        if (b < 0 && QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            text[i + 1].isLowSurrogate())
            ++i;
    }
    return out;
}

QString decode(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (char raw : bytes) {
        const auto b = static_cast<unsigned char>(raw);
        *dst++ = QChar(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b));
    }
    return out;
}

QByteArray encodeTextFile(QStringView text) {
    if (canEncode(text))
        return encode(text);
    return kUtf8Bom + text.toUtf8();
}

QString decodeTextFile(QByteArrayView bytes) {
    if (bytes.startsWith(kUtf8Bom))
        return QString::fromUtf8(bytes.sliced(kUtf8Bom.size()));
    return decode(bytes);
}

} // namespace windows1252
