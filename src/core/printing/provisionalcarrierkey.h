#pragma once

#include <QString>
#include <optional>

// Stand-in for the carrier key resolver of the media list: accepts "#N" and a plain carrier
// number only.
inline std::optional<int> provisionalCarrierNumber(const QString& key) {
    QString text = key.trimmed();
    if (text.startsWith(QLatin1Char('#')))
        text.remove(0, 1);
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok && number > 0 ? std::optional<int>(number) : std::nullopt;
}
