#include "fieldvalue.h"

#include "blobfile.h"

#include <QDateTime>
#include <cmath>
#include <cstring>

namespace paradox {
namespace {

// 1 January of the year 1 is day 1 of a date field.
constexpr qint64 kJulianDayBeforeYear1 = 1721425;
constexpr qint64 kMsPerDay = 86400000;

bool allZero(const char* p, int n) {
    for (int i = 0; i < n; ++i)
        if (p[i] != 0)
            return false;
    return true;
}

// Whole numbers are big-endian with the sign bit inverted, so that bytes sort like values.
qint64 signedBigEndian(const char* p, int n) {
    quint64 v = 0;
    for (int i = 0; i < n; ++i)
        v = v << 8 | uchar(p[i]);
    v ^= quint64(1) << (n * 8 - 1);
    const int shift = 64 - n * 8;
    return qint64(v << shift) >> shift;
}

// Doubles likewise: positive ones with the sign bit set, negative ones with all bits inverted.
double storedDouble(const char* p) {
    quint64 v = 0;
    for (int i = 0; i < 8; ++i)
        v = v << 8 | uchar(p[i]);
    if (v & (quint64(1) << 63))
        v &= ~(quint64(1) << 63);
    else
        v = ~v;
    double d;
    std::memcpy(&d, &v, sizeof d);
    return d;
}

// 32 digits in nibbles after the sign byte; a negative value has every digit inverted.
double bcdValue(const char* p, int decimals) {
    const bool positive = uchar(p[0]) & 0x80;
    double v = 0;
    for (int i = 0; i < 32; ++i) {
        const uchar byte = uchar(p[1 + i / 2]);
        int digit = i % 2 == 0 ? byte >> 4 : byte & 0x0f;
        if (!positive)
            digit = 15 - digit;
        v = v * 10 + std::min(digit, 9);
    }
    v /= std::pow(10.0, decimals);
    return positive ? v : -v;
}

QString alphaText(const char* p, int n, const CodePage& codePage) {
    const char* end = static_cast<const char*>(std::memchr(p, 0, size_t(n)));
    return codePage.decode(QByteArrayView(p, end ? end - p : n));
}

std::optional<QVariant> blobValue(const FieldInfo& field, const char* p, const CodePage& codePage,
                                  BlobFile& blobs, QString* error) {
    const int leader = field.size - 10;
    const char* ref = p + leader;
    const quint32 offset = quint32(uchar(ref[0])) | quint32(uchar(ref[1])) << 8 |
                           quint32(uchar(ref[2])) << 16 | quint32(uchar(ref[3])) << 24;
    const quint32 length = quint32(uchar(ref[4])) | quint32(uchar(ref[5])) << 8 |
                           quint32(uchar(ref[6])) << 16 | quint32(uchar(ref[7])) << 24;
    if (length == 0)
        return QVariant();
    QByteArray data;
    if (offset == 0) {
        // Short contents sit in the record itself.
        if (length > quint32(leader)) {
            *error = QStringLiteral("Feld \"%1\": die Länge %2 passt nicht in den Datensatz.")
                         .arg(field.name)
                         .arg(length);
            return std::nullopt;
        }
        data = QByteArray(p, qsizetype(length));
    } else {
        QString reason;
        auto read = blobs.read(offset, length, &reason);
        if (!read) {
            *error = QStringLiteral("Feld \"%1\": %2").arg(field.name, reason);
            return std::nullopt;
        }
        data = std::move(*read);
    }
    switch (field.type) {
    case Memo:
    case FormattedMemo:
        return QVariant(codePage.decode(data));
    case Graphic:
        if (data.size() < 8) {
            *error = QStringLiteral("Feld \"%1\": die Grafik ist zu kurz.").arg(field.name);
            return std::nullopt;
        }
        return QVariant(data.mid(8));
    default:
        return QVariant(data);
    }
}

} // namespace

std::optional<QVariant> fieldValue(const FieldInfo& field, const char* record,
                                   const CodePage& codePage, BlobFile& blobs, QString* error) {
    const char* p = record + field.offset;
    if (allZero(p, field.size))
        return QVariant();
    switch (field.type) {
    case Alpha: {
        const QString text = alphaText(p, field.size, codePage);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case Date: {
        const qint64 days = signedBigEndian(p, 4);
        const QDate date = QDate::fromJulianDay(days + kJulianDayBeforeYear1);
        if (days < 1 || !date.isValid()) {
            *error = QStringLiteral("Feld \"%1\": ungültiges Datum.").arg(field.name);
            return std::nullopt;
        }
        return QVariant(date);
    }
    case Short:
        return QVariant(signedBigEndian(p, 2));
    case Long:
    case AutoIncrement:
        return QVariant(signedBigEndian(p, 4));
    case Time: {
        const qint64 ms = signedBigEndian(p, 4);
        if (ms < 0 || ms >= kMsPerDay) {
            *error = QStringLiteral("Feld \"%1\": ungültige Uhrzeit.").arg(field.name);
            return std::nullopt;
        }
        return QVariant(QTime::fromMSecsSinceStartOfDay(int(ms)));
    }
    case Money:
    case Number:
        return QVariant(storedDouble(p));
    case Timestamp: {
        const double ms = storedDouble(p);
        const qint64 whole = std::isfinite(ms) && ms > 0 && ms < 4e17 ? qint64(ms) : -1;
        const QDate date = QDate::fromJulianDay(whole / kMsPerDay + kJulianDayBeforeYear1);
        if (whole < kMsPerDay || !date.isValid()) {
            *error = QStringLiteral("Feld \"%1\": ungültiger Zeitstempel.").arg(field.name);
            return std::nullopt;
        }
        return QVariant(QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(whole % kMsPerDay))));
    }
    case Logical:
        return QVariant(uchar(p[0]) != 0x80);
    case Bcd:
        return QVariant(bcdValue(p, field.decimals));
    case Bytes:
        return QVariant(QByteArray(p, field.size));
    case Memo:
    case FormattedMemo:
    case Blob:
    case Ole:
    case Graphic:
        return blobValue(field, p, codePage, blobs, error);
    }
    *error = QStringLiteral("Feld \"%1\": unbekannter Typ.").arg(field.name);
    return std::nullopt;
}

} // namespace paradox
