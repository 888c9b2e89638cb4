#include "textwidthcache.h"

namespace {
// Bounds for long documents of unique lines: a full table is simply started anew.
constexpr qsizetype kMaxTexts = 4096;
constexpr size_t kMaxFonts = 32;
} // namespace

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
