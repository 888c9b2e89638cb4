#include "textwidthcache.h"

#include <QFontMetricsF>
#include <cmath>

namespace {
// Bounds for long documents of unique lines: a full table is simply started anew.
constexpr qsizetype kMaxTexts = 4096;
constexpr size_t kMaxFonts = 32;
} // namespace

TextWidthCache::Font::Font(const QFont& f)
    : font(f), metrics(f), plain(f.letterSpacing() == 0 && f.wordSpacing() == 0 &&
                                 f.capitalization() == QFont::MixedCase) {
    ownWidths.fill(-1);
}

// Printable Latin-1 (without the soft hyphen, drawn or not depending on its place) and the
// general punctuation German texts use (dashes, quotes, ellipsis), and the euro sign.
int TextWidthCache::plainIndex(char16_t c) {
    if (c >= 0x20 && c < 0x7f)
        return c;
    if (c >= 0xa0 && c <= 0xff && c != 0xad)
        return c;
    if (c >= 0x2010 && c <= 0x2027)
        return 0x100 + (c - 0x2010);
    if (c == 0x20ac)
        return 0x120;
    return -1;
}

int TextWidthCache::ownWidth(Font& f, char16_t c) {
    const int index = plainIndex(c);
    if (index < 0)
        return -1;
    int& w = f.ownWidths[size_t(index)];
    if (w < 0)
        w = int(std::lround(QFontMetricsF(f.font).horizontalAdvance(QString(QChar(c))) * 64));
    return w;
}

TextWidthCache::Bounds TextWidthCache::bounds(const QFont& font, QStringView text) {
    Font& f = entry(font);
    if (!f.plain)
        return {-1, -1};
    qint64 sum = 0;
    int widest = 0;
    for (const QChar c : text) {
        const int w = ownWidth(f, c.unicode());
        if (w < 0)
            return {-1, -1};
        sum += w;
        widest = std::max(widest, w);
    }
    const qint64 margin = sum / 50 + 2 * qint64(widest);
    return {std::max(0, int((sum - margin) / 64) - 2), int((sum + margin) / 64) + 2};
}

int TextWidthCache::upperBound(const QFont& font, QStringView text) {
    return bounds(font, text).upper;
}

TextWidthCache::Font& TextWidthCache::entry(const QFont& font) {
    if (m_last && m_last->font == font)
        return *m_last;
    for (const auto& f : m_fonts) {
        if (f->font == font) {
            m_last = f.get();
            return *m_last;
        }
    }
    if (m_fonts.size() >= kMaxFonts)
        m_fonts.clear();
    m_fonts.push_back(std::make_unique<Font>(font));
    m_last = m_fonts.back().get();
    return *m_last;
}

int TextWidthCache::width(const QFont& font, const QString& text) {
    if (text.isEmpty())
        return 0;
    Font& f = entry(font);
    if (const auto it = f.widths.constFind(text); it != f.widths.constEnd())
        return *it;
    if (f.widths.size() >= kMaxTexts)
        f.widths.clear();
    const int w = f.metrics.horizontalAdvance(text);
    f.widths.insert(text, w);
    return w;
}

void TextWidthCache::clear() {
    m_fonts.clear();
    m_last = nullptr;
}
