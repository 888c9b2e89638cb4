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
    // A text as readers see it; the page itself keeps all its characters in one buffer.
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
    // The page is complete: spare capacity is given back.
    void squeeze();

    // The drawing operations in order; texts are copied out of the page's buffer.
    std::vector<Item> items() const;
    std::vector<Text> texts() const;
    int textCount() const { return int(m_texts.size()); }
    Text text(int index) const;
    const std::vector<Line>& lines() const { return m_lines; }
    const std::vector<QFont>& fonts() const { return m_fonts; }

    // Draws the page onto a painter whose coordinates are this page's pixels.
    void replay(QPainter& painter) const;
    // All text of the page, line by line in drawing order (for tests and plain exports).
    QString plainText() const;
    qint64 memoryUse() const;

private:
    // 20 bytes a text; the characters live in m_chars.
    struct StoredText {
        qint32 x, y;
        qint32 offset, length;
        qint32 font;
    };
    QStringView chars(const StoredText& t) const {
        return QStringView(m_chars).mid(t.offset, t.length);
    }

    QSize m_size;
    int m_resolutionX;
    int m_resolutionY;
    std::vector<quint32> m_order; // index << 1, low bit set for a line
    std::vector<StoredText> m_texts;
    std::vector<Line> m_lines;
    QString m_chars;
    std::vector<QFont> m_fonts;
};
