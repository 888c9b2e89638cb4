#include "lookupkinds.h"

#include "core/db/schema.h"

#include <array>
#include <stdexcept>

namespace lookup {
namespace {

KindInfo info(int kind, const char* table, const char* plural, int selectionHelp, int editHelp,
              const char* printCaption, const char* printTitle) {
    const QString name = QString::fromUtf8(plural);
    return {kind,
            QString::fromUtf8(table),
            name + QStringLiteral(" bearbeiten"),
            name,
            selectionHelp,
            editHelp,
            QString::fromUtf8(printCaption),
            QStringLiteral("WinDsKm - ") + QString::fromUtf8(printTitle)};
}

const std::array<KindInfo, 9>& kinds() {
    static const std::array<KindInfo, 9> all = {
        info(0, "MUSIKART", "Tonträgerarten", 40500, 40514, "Tonträgerarten drucken",
             "Tonträgerarten"),
        info(1, "MUSIKSTA", "Statusarten", 40502, 40516, "Statusarten drucken", "Statusarten"),
        info(2, "MUSIKDIR", "Musikrichtungen", 40501, 40515, "Musikrichtungen drucken",
             "Musikrichtungen"),
        info(3, "MusikTanzStil", "Tanzstile", 0, 0, "Tanzstile drucken", "Tanzstile"),
        info(4, "VideoKategorien", "Videokategorien", 0, 40521, "Videokategorien drucken",
             "Videokategorien"),
        info(5, "VideoKassettenarten", "Videokassettenarten", 0, 40522,
             "Videokassettenarten drucken", "Videokassettenarten"),
        info(6, "VideoAudioarten", "Videoaudioarten", 0, 40523, "Videoaudioarten drucken",
             "Videoaudioarten"),
        // The dialog caption has always been spelt so.
        info(7, "VideoSprachen", "Videosprachen", 0, 40523, "Videspracharten drucken",
             "Videospracharten"),
        KindInfo{kCurrencies, QStringLiteral("Currency"), QStringLiteral("Währungen bearbeiten"),
                 QStringLiteral("Währung bearbeiten"), 40500, 0, QStringLiteral("Wähungen drucken"),
                 QStringLiteral("WinDsKm - Währungen")},
    };
    return all;
}

} // namespace

const KindInfo& kindInfo(int kind) {
    if (kind < 0 || kind > kCurrencies)
        throw std::out_of_range("lookup kind out of range");
    return kinds()[size_t(kind)];
}

bool isLookupKind(int kind) {
    return kind >= 0 && kind <= kLastLookupKind;
}

bool isVideoKind(int kind) {
    return kind >= kFirstVideoKind && kind <= kLastLookupKind;
}

int parseKind(const QString& text) {
    const QString t = text.trimmed();
    bool isNumber = false;
    const int number = t.toInt(&isNumber);
    if (isNumber)
        return isLookupKind(number) ? number : -1;
    const schema::Table* table = schema::find(t);
    if (!table)
        return -1;
    for (const KindInfo& k : kinds())
        if (k.table == table->name)
            return k.kind;
    return -1;
}

QString editCaption(int kind, const QString& longName) {
    return kindInfo(kind).entryName + QStringLiteral(": ") + longName;
}

QString newEntryCaption(int kind, int runningNumber) {
    return kindInfo(kind).entryName + QLatin1Char(' ') + QString::number(runningNumber);
}

} // namespace lookup
