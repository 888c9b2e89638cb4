#include "germanformat.h"

#include <cmath>

namespace germanformat {
namespace {
const QDate kDayZero(1899, 12, 30);
}

const QLocale& locale() {
    static const QLocale german(QLocale::German, QLocale::Germany);
    return german;
}

QString formatDate(const QDate& date) {
    if (!date.isValid())
        return QString();
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    if (year < 1000 || year > 9999) // padding and signs as Qt does them
        return date.toString(QStringLiteral("dd.MM.yyyy"));
    // Lists write thousands of dates: put the digits in place instead of interpreting a format.
    const char16_t digits[] = {char16_t(u'0' + day / 10),
                               char16_t(u'0' + day % 10),
                               u'.',
                               char16_t(u'0' + month / 10),
                               char16_t(u'0' + month % 10),
                               u'.',
                               char16_t(u'0' + year / 1000),
                               char16_t(u'0' + year / 100 % 10),
                               char16_t(u'0' + year / 10 % 10),
                               char16_t(u'0' + year % 10)};
    return QString(reinterpret_cast<const QChar*>(digits), 10);
}

QDate parseDate(const QString& text) {
    const QString t = text.trimmed();
    const QStringList parts = t.split(QLatin1Char('.'));
    if (parts.size() != 3 || parts[2].size() != 4 || parts[0].size() > 2 || parts[1].size() > 2)
        return {};
    // Digits only: toInt would also take a sign or blanks ("16.06.-011" is year -11), which
    // the writer then puts down in a form this reader refuses.
    int numbers[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (parts[i].isEmpty())
            return {};
        for (const QChar c : parts[i]) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return {};
            numbers[i] = numbers[i] * 10 + (c.unicode() - u'0');
        }
    }
    return QDate(numbers[2], numbers[1], numbers[0]);
}

double dayNumber(const QDate& date) {
    return double(kDayZero.daysTo(date));
}

QDate dateFromDayNumber(double dayNumber) {
    if (!std::isfinite(dayNumber) || std::abs(dayNumber) > 3.0e6)
        return {};
    return kDayZero.addDays(qint64(std::floor(dayNumber)));
}

QString formatNumber(double value) {
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    if (text.contains(QLatin1Char('e')))
        text = QString::number(value, 'f', QLocale::FloatingPointShortest);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

std::optional<double> parseNumber(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace germanformat
