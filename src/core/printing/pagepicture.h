#pragma once

#include <QFont>
#include <QLine>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

class QPainter;

// One recorded page: a list of drawing operations in printer pixels, origin at the
// printable origin. It is replayed at any scale (screen, printer, PDF, SVG, picture files)
// and written as an enhanced metafile.
class PagePicture {
public:
    struct Text {
        QPoint topLeft;
        int font; // index into fonts()
        QString text;
    };
    struct Line {
        QLine line;
        int penWidth; // 0: the thinnest line
    };
    struct Item {
        enum class Kind { Text, Line } kind;
        int index; // into texts() or lines()
    };

    PagePicture(QSize sizePixels, int resolutionX, int resolutionY);

    QSize size() const { return m_size; }
    int resolutionX() const { return m_resolutionX; }
    int resolutionY() const { return m_resolutionY; }

    void drawText(QPoint topLeft, const QFont& font, const QString& text);
    void drawLine(QLine line, int penWidth);

    const std::vector<Item>& items() const { return m_items; }
    const std::vector<Text>& texts() const { return m_texts; }
    const std::vector<Line>& lines() const { return m_lines; }
    const std::vector<QFont>& fonts() const { return m_fonts; }

    // Draws the page onto a painter whose coordinates are this page's pixels.
    void replay(QPainter& painter) const;
    // All text of the page, line by line in drawing order (for tests and plain exports).
    QString plainText() const;
    qint64 memoryUse() const;

private:
    QSize m_size;
    int m_resolutionX;
    int m_resolutionY;
    std::vector<Item> m_items;
    std::vector<Text> m_texts;
    std::vector<Line> m_lines;
    std::vector<QFont> m_fonts;
};
