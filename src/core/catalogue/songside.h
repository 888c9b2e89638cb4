#pragma once

#include <QString>
#include <optional>

// A song's side as collectors write it: "A" is side 1, "B" side 2 ... "Z" side 26, in either
// case. The side is stored as its number.
namespace songside {

inline std::optional<int> fromLetter(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() != 1)
        return std::nullopt;
    // Only the plain Latin letters: QChar::toUpper() would also map "ı" or "ſ" onto them.
    const char16_t c = t.front().unicode();
    if (c >= u'a' && c <= u'z')
        return int(c - u'a') + 1;
    if (c >= u'A' && c <= u'Z')
        return int(c - u'A') + 1;
    return std::nullopt;
}

} // namespace songside
