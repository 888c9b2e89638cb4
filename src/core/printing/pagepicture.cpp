#include "pagepicture.h"

#include <QFontMetrics>
#include <QPainter>

PagePicture::PagePicture(QSize sizePixels, int resolutionX, int resolutionY)
    : m_size(sizePixels), m_resolutionX(resolutionX), m_resolutionY(resolutionY) {}

void PagePicture::drawText(QPoint topLeft, const QFont& font, const QString& text) {
    if (text.isEmpty())
        return;
    int index = -1;
    for (int i = int(m_fonts.size()) - 1; i >= 0; --i) {
        if (m_fonts[size_t(i)] == font) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        m_fonts.push_back(font);
        index = int(m_fonts.size()) - 1;
    }
    m_texts.push_back({topLeft, index, text});
    m_items.push_back({Item::Kind::Text, int(m_texts.size()) - 1});
}

void PagePicture::drawLine(QLine line, int penWidth) {
    m_lines.push_back({line, penWidth});
    m_items.push_back({Item::Kind::Line, int(m_lines.size()) - 1});
}

void PagePicture::replay(QPainter& painter) const {
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    int currentFont = -1;
    int ascent = 0;
    for (const Item& item : m_items) {
        if (item.kind == Item::Kind::Text) {
            const Text& t = m_texts[size_t(item.index)];
            if (t.font != currentFont) {
                currentFont = t.font;
                painter.setFont(m_fonts[size_t(t.font)]);
                ascent = QFontMetrics(m_fonts[size_t(t.font)]).ascent();
            }
            painter.setPen(Qt::black);
            painter.drawText(QPoint(t.topLeft.x(), t.topLeft.y() + ascent), t.text);
        } else {
            const Line& l = m_lines[size_t(item.index)];
            QPen pen(Qt::black);
            pen.setWidth(l.penWidth);
            painter.setPen(pen);
            painter.drawLine(l.line);
        }
    }
    painter.restore();
}

QString PagePicture::plainText() const {
    QString out;
    int lastY = INT_MIN;
    for (const Text& t : m_texts) {
        if (lastY != INT_MIN)
            out += t.topLeft.y() != lastY ? QStringLiteral("\n") : QStringLiteral(" ");
        out += t.text;
        lastY = t.topLeft.y();
    }
    return out;
}

qint64 PagePicture::memoryUse() const {
    qint64 bytes = sizeof(*this) + qint64(m_items.capacity() * sizeof(Item)) +
                   qint64(m_texts.capacity() * sizeof(Text)) +
                   qint64(m_lines.capacity() * sizeof(Line)) +
                   qint64(m_fonts.capacity() * sizeof(QFont));
    for (const Text& t : m_texts)
        bytes += t.text.capacity() * 2;
    return bytes;
}
