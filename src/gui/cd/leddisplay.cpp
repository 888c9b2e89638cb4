#include "leddisplay.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

// Segments a-g per digit, bit 0 = a (top), clockwise, g = middle.
constexpr unsigned char kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                         0x6D, 0x7D, 0x07, 0x7F, 0x6F};
const QColor kGrey(0xC0, 0xC0, 0xC0);
const QColor kSilver(0xD8, 0xD8, 0xD8);

void drawDigit(QPainter& p, const QRectF& r, int digit, const QColor& on, const QColor& off) {
    const qreal w = r.width(), h = r.height(), t = std::max<qreal>(2.0, w / 6);
    const qreal x = r.left(), y = r.top(), m = y + h / 2;
    const QRectF bars[7] = {
        {x + t, y, w - 2 * t, t},                   // a
        {x + w - t, y + t, t, h / 2 - 1.5 * t},     // b
        {x + w - t, m + t / 2, t, h / 2 - 1.5 * t}, // c
        {x + t, y + h - t, w - 2 * t, t},           // d
        {x, m + t / 2, t, h / 2 - 1.5 * t},         // e
        {x, y + t, t, h / 2 - 1.5 * t},             // f
        {x + t, m - t / 2, w - 2 * t, t},           // g
    };
    const unsigned char lit = digit >= 0 && digit <= 9 ? kSegments[digit] : 0;
    for (int i = 0; i < 7; ++i)
        p.fillRect(bars[i], (lit >> i) & 1 ? on : off);
}

} // namespace

QColor colorFromNumber(int number) {
    return QColor(number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF);
}

TLedDisplay::TLedDisplay(int digits, bool time, QWidget* parent)
    : QWidget(parent), m_digits(digits), m_time(time) {
    setFixedSize(sizeHint());
    zero();
}

void TLedDisplay::setNumber(int number) {
    m_text = QStringLiteral("%1").arg(qBound(0, number, 999), m_digits, 10, QLatin1Char('0'));
    update();
}

void TLedDisplay::setSeconds(qint64 seconds) {
    seconds = std::clamp<qint64>(seconds, 0, 999 * 60 + 59);
    m_text = QStringLiteral("%1:%2")
                 .arg(seconds / 60, m_digits - 2, 10, QLatin1Char('0'))
                 .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    update();
}

void TLedDisplay::zero() {
    if (m_time)
        setSeconds(0);
    else
        setNumber(0);
}

void TLedDisplay::setColor(const QColor& color) {
    m_color = color;
    update();
}

QSize TLedDisplay::sizeHint() const {
    return {m_digits * 14 + (m_time ? 8 : 0) + 8, 28};
}

void TLedDisplay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kGrey);
    const QColor off = kGrey.darker(112);
    qreal x = 4;
    const qreal digitW = 10, gap = 4, top = 4, h = height() - 8;
    for (const QChar c : std::as_const(m_text)) {
        if (c == QLatin1Char(':')) {
            p.fillRect(QRectF(x + 1, top + h * 0.25, 3, 3), m_color);
            p.fillRect(QRectF(x + 1, top + h * 0.7, 3, 3), m_color);
            x += 8;
            continue;
        }
        drawDigit(p, QRectF(x, top, digitW, h), c.digitValue(), m_color, off);
        x += digitW + gap;
    }
}

TLedButton::TLedButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    setFixedSize(sizeHint());
}

void TLedButton::setSwitchedOn(bool on) {
    m_on = on;
    update();
}

void TLedButton::setColor(const QColor& color) {
    m_color = color;
    update();
}

QSize TLedButton::sizeHint() const {
    return {28, 22};
}

void TLedButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(r, isDown() ? kSilver.darker(115) : kSilver);
    p.setPen(isDown() ? Qt::darkGray : Qt::white);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(isDown() ? Qt::white : Qt::darkGray);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    if (m_on) // the lamp of the track being played
        p.fillRect(QRect(r.left() + 3, r.bottom() - 4, r.width() - 6, 2), QColor(0, 200, 0));
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(isEnabled() ? m_color : QColor(Qt::gray));
    p.drawText(r.adjusted(0, 0, 0, -3), Qt::AlignCenter, text());
}
