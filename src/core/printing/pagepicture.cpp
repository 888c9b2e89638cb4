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
    m_order.push_back(quint32(m_texts.size()) << 1);
    m_texts.push_back(
        {topLeft.x(), topLeft.y(), qint32(m_chars.size()), qint32(text.size()), index});
    m_chars += text;
}

void PagePicture::drawLine(QLine line, int penWidth) {
    m_order.push_back(quint32(m_lines.size()) << 1 | 1u);
    m_lines.push_back({line, penWidth});
}

void PagePicture::squeeze() {
    m_order.shrink_to_fit();
    m_texts.shrink_to_fit();
    m_lines.shrink_to_fit();
    m_fonts.shrink_to_fit();
    m_chars.squeeze();
}

std::vector<PagePicture::Item> PagePicture::items() const {
    std::vector<Item> out;
    out.reserve(m_order.size());
    for (const quint32 op : m_order)
        out.push_back({op & 1u ? Item::Kind::Line : Item::Kind::Text, int(op >> 1)});
    return out;
}

PagePicture::Text PagePicture::text(int index) const {
    const StoredText& t = m_texts[size_t(index)];
    return {QPoint(t.x, t.y), t.font, chars(t).toString()};
}

std::vector<PagePicture::Text> PagePicture::texts() const {
    std::vector<Text> out;
    out.reserve(m_texts.size());
    for (int i = 0; i < textCount(); ++i)
        out.push_back(text(i));
    return out;
}

void PagePicture::replay(QPainter& painter) const {
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    int currentFont = -1;
    int ascent = 0;
    int currentPen = -1;
    for (const quint32 op : m_order) {
        if (!(op & 1u)) {
            const StoredText& t = m_texts[op >> 1];
            if (t.font != currentFont) {
                currentFont = t.font;
                painter.setFont(m_fonts[size_t(t.font)]);
                ascent = QFontMetrics(m_fonts[size_t(t.font)]).ascent();
            }
            if (currentPen != -2) {
                painter.setPen(Qt::black);
                currentPen = -2;
            }
            painter.drawText(QPoint(t.x, t.y + ascent), chars(t).toString());
        } else {
            const Line& l = m_lines[op >> 1];
            if (currentPen != l.penWidth) {
                QPen pen(Qt::black);
                pen.setWidth(l.penWidth);
                painter.setPen(pen);
                currentPen = l.penWidth;
            }
            painter.drawLine(l.line);
        }
    }
    painter.restore();
}

QString PagePicture::plainText() const {
    QString out;
    int lastY = INT_MIN;
    for (const StoredText& t : m_texts) {
        if (lastY != INT_MIN)
            out += t.y != lastY ? QStringLiteral("\n") : QStringLiteral(" ");
        out += chars(t);
        lastY = t.y;
    }
    return out;
}

qint64 PagePicture::memoryUse() const {
    return qint64(sizeof(*this)) + qint64(m_order.capacity() * sizeof(quint32)) +
           qint64(m_texts.capacity() * sizeof(StoredText)) +
           qint64(m_lines.capacity() * sizeof(Line)) + qint64(m_fonts.capacity() * sizeof(QFont)) +
           qint64(m_chars.capacity()) * 2;
}
