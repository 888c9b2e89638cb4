#pragma once

#include <QString>
#include <optional>

// A playing time ("Laufzeit"): whole minutes in the integer part, seconds 00..59 as the
// two decimals (3.45 is 3 minutes 45 seconds). All arithmetic runs on whole hundredths so
// that binary fractions never tip a result.
namespace laufzeit {

// The value rounded to whole hundredths (3.45 -> 345).
qint64 toHundredths(double value);
double fromHundredths(qint64 hundredths);

// False when the seconds part is .60 or more, or the value is negative.
bool isValid(double value);

// Sum of two playing times: the plain sum when the seconds add up to less than 60,
// otherwise the plain sum plus 1 minus 0.60.
double add(double a, double b);

// Plain seconds to a playing time and back (185 s <-> 3.05).
double fromSeconds(qint64 seconds);
qint64 toSeconds(double value);

// "3,45": German decimal comma, always two decimals, no thousands separator.
QString format(double value);

// Accepts "3,45", "3.45", "3" and surrounding blanks; no range check (see isValid).
std::optional<double> parse(const QString& text);

} // namespace laufzeit
