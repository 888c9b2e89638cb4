#pragma once

#include <QDateTime>

// Date and time packed in the MS-DOS layout into a signed 32-bit value: the date in the
// upper 16 bits (day 0-4, month 5-8, year-1980 9-15), the time in the lower 16 bits
// (seconds/2 0-4, minutes 5-10, hours 11-15). Dates in 2044 or later come out negative.
namespace packeddatetime {

// 0 for an invalid moment or a year outside 1980..2099.
qint32 pack(const QDateTime& moment);

// An invalid QDateTime when the value does not hold a real date and time.
QDateTime unpack(qint32 packed);

} // namespace packeddatetime
