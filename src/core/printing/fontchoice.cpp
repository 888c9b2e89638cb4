#include "fontchoice.h"

#include "core/db/germancollation.h"

#include <QFontDatabase>
#include <algorithm>

namespace fontchoice {

QStringList families() {
    QStringList names = QFontDatabase::families();
    for (const char* alias : {"Arial", "Courier New", "Courier"})
        if (!names.contains(QLatin1String(alias), Qt::CaseInsensitive))
            names.append(QLatin1String(alias));
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return compareGerman(a.toUtf8(), b.toUtf8()) < 0;
    });
    return names;
}

int validSize(int size, int defaultSize) {
    return size >= kMinimumSize && size <= kMaximumSize ? size : defaultSize;
}

} // namespace fontchoice
