#include "laufzeit.h"

#include "germanformat.h"

#include <cmath>

namespace laufzeit {

qint64 toHundredths(double value) {
    return static_cast<qint64>(std::llround(value * 100.0));
}

double fromHundredths(qint64 hundredths) {
    return static_cast<double>(hundredths) / 100.0;
}

bool isValid(double value) {
    const qint64 h = toHundredths(value);
    return h >= 0 && h % 100 < 60;
}

double add(double a, double b) {
    const qint64 ha = toHundredths(a);
    const qint64 hb = toHundredths(b);
    qint64 sum = ha + hb;
    if (std::abs(ha % 100) + std::abs(hb % 100) >= 60)
        sum += 100 - 60;
    return fromHundredths(sum);
}

double fromSeconds(qint64 seconds) {
    return fromHundredths((seconds / 60) * 100 + seconds % 60);
}

qint64 toSeconds(double value) {
    const qint64 h = toHundredths(value);
    return (h / 100) * 60 + h % 100;
}

QString format(double value) {
    const qint64 h = toHundredths(value);
    const qint64 magnitude = std::abs(h);
    return QStringLiteral("%1%2,%3")
        .arg(h < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

std::optional<double> parse(const QString& text) {
    QString t = text.trimmed();
    // "4:35" is how a playing time is written on a sleeve: minutes, colon, seconds.
    const qsizetype colon = t.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        QString seconds = t.mid(colon + 1);
        if (seconds.isEmpty() || seconds.size() > 2 || t.left(colon).isEmpty())
            return std::nullopt;
        if (seconds.size() == 1)
            seconds.prepend(QLatin1Char('0'));
        t = t.left(colon) + QLatin1Char(',') + seconds;
    }
    const auto value = germanformat::parseNumber(t);
    if (!value)
        return std::nullopt;
    return fromHundredths(toHundredths(*value));
}

} // namespace laufzeit
