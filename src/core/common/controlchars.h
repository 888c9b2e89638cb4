#pragma once

#include <QStringView>

// Control characters are what a damaged file holds in a short text, never what a person
// typed; a tab may come from pasted text and counts as text.
inline bool hasControlCharacter(QStringView text) {
    for (QChar c : text) {
        if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7f)
            return true;
    }
    return false;
}
