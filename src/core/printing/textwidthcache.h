#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QString>
#include <array>
#include <memory>
#include <vector>

// Widths of texts in the fonts the page printer composes with. Measuring a text shapes it,
// which costs far more than everything else the engine does with a line; reports measure
// the same texts again and again (a line, then its pieces, blanks, repeated values). The
// widths are exactly those of QFontMetrics.
class TextWidthCache {
public:
    int width(const QFont& font, const QString& text);
    // A width no smaller than width(font, text), found without shaping the text: the sum of
    // the characters' own widths with a margin for what shaping does between neighbours
    // (ligatures, contextual forms: at most about a character in text fonts). -1 when the
    // text has characters other than the plain ones whose widths are kept. For deciding
    // that a text fits where its exact width is not needed otherwise.
    int upperBound(const QFont& font, QStringView text);
    // Both ends: lower is never above the exact width (shaping narrows by no more than the
    // margin either). Both -1 as above.
    struct Bounds {
        int lower, upper;
    };
    Bounds bounds(const QFont& font, QStringView text);
    void clear();

private:
    struct Font {
        explicit Font(const QFont& f);
        QFont font;
        QFontMetrics metrics;
        QHash<QString, int> widths;
        bool plain;                     // no spacing or capitals that change widths by position
        std::array<int, 512> ownWidths; // 1/64 pixels by plainIndex(); -1: not measured yet
    };
    static int plainIndex(char16_t c);
    static int ownWidth(Font& f, char16_t c);
    Font& entry(const QFont& font);

    std::vector<std::unique_ptr<Font>> m_fonts;
    Font* m_last = nullptr;
};
