#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// Widths of texts in the fonts the page printer composes with. Measuring a text shapes it,
// which costs far more than everything else the engine does with a line; reports measure
// the same texts again and again (a line, then its pieces, blanks, repeated values). The
// widths are exactly those of QFontMetrics.
class TextWidthCache {
public:
    int width(const QFont& font, const QString& text);
    void clear();

private:
    struct Font {
        explicit Font(const QFont& f) : font(f), metrics(f) {}
        QFont font;
        QFontMetrics metrics;
        QHash<QString, int> widths;
    };
    Font& entry(const QFont& font);

    std::vector<std::unique_ptr<Font>> m_fonts;
    Font* m_last = nullptr;
};
