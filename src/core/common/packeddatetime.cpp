#include "packeddatetime.h"

namespace packeddatetime {

qint32 pack(const QDateTime& moment) {
    if (!moment.isValid())
        return 0;
    const QDate d = moment.date();
    const QTime t = moment.time();
    if (d.year() < 1980 || d.year() >= 2100)
        return 0;
    const quint32 date =
        (quint32(d.year() - 1980) << 9) | (quint32(d.month()) << 5) | quint32(d.day());
    const quint32 time =
        (quint32(t.hour()) << 11) | (quint32(t.minute()) << 5) | quint32(t.second() / 2);
    return static_cast<qint32>((date << 16) | time);
}

QDateTime unpack(qint32 packed) {
    const quint32 raw = static_cast<quint32>(packed);
    const quint32 date = raw >> 16;
    const quint32 time = raw & 0xFFFF;
    const QDate d(int(date >> 9) + 1980, int((date >> 5) & 0x0F), int(date & 0x1F));
    const QTime t(int(time >> 11), int((time >> 5) & 0x3F), int(time & 0x1F) * 2);
    if (!d.isValid() || !t.isValid())
        return {};
    return QDateTime(d, t);
}

} // namespace packeddatetime
