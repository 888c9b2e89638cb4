// TPagePrinter: the write operations, fitting and breaking of text, placeholders.
#include "columnformat.h"
#include "core/common/germanformat.h"
#include "pageprinter.h"

#include <QFontMetrics>

namespace {

QString expandTabs(const QString& text, quint32 tabSize) {
    if (!text.contains(QLatin1Char('\t')))
        return text;
    QString out;
    for (QChar c : text) {
        if (c == QLatin1Char('\t'))
            out += QString(qsizetype(tabSize - quint32(out.size()) % tabSize), QLatin1Char(' '));
        else
            out += c;
    }
    return out;
}

bool isBlank(QChar c) {
    return c.unicode() < 33;
}

struct Broken {
    QString part;
    QString rest;
};

} // namespace

int TPagePrinter::widthIn(const QString& text, const QFont& font) const {
    return m_widths.width(font, text);
}

// True only when the text is certainly not wider than width; false says nothing.
bool TPagePrinter::surelyFits(const QString& text, int width, const QFont& font) const {
    const int bound = m_widths.upperBound(font, text);
    return bound >= 0 && bound <= width;
}

int TPagePrinter::textWidth(const QString& text) const {
    return widthIn(text, m_drawFont);
}

// The longest prefix not wider than width, by bisection; at least one character.
int TPagePrinter::fitLength(const QString& text, int width, const QFont& font) const {
    // Each step is decided by the bounds of the width where they are certain, measured
    // only near the fitting length.
    auto fits = [&](int length) {
        const QStringView prefix = QStringView(text).left(length);
        const TextWidthCache::Bounds b = m_widths.bounds(font, prefix);
        if (b.upper >= 0 && b.upper <= width)
            return true;
        if (b.lower > width)
            return false;
        return widthIn(prefix.toString(), font) <= width;
    };
    int low = 1, high = int(text.size());
    if (high <= 1 || fits(high))
        return high;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle - 1;
    }
    return std::max(low, 1);
}

namespace {
// Word wrap: the fitting prefix, cut back to its last blank when the break would split a
// word. In line mode the blank at the break is dropped, otherwise it starts the rest.
Broken breakAt(const QString& text, int fit, bool lineMode) {
    if (fit >= text.size())
        return {text, QString()};
    if (isBlank(text[fit]))
        return {text.left(fit), lineMode ? text.mid(fit + 1) : text.mid(fit)};
    for (int i = fit - 1; i >= 0; --i) {
        if (isBlank(text[i]))
            return {text.left(i + 1), text.mid(i + 1)};
    }
    return {text.left(fit), text.mid(fit)};
}
} // namespace

void TPagePrinter::writeRaw(const QString& text) {
    if (m_textFile)
        m_textFile->write(text.toLocal8Bit());
}

void TPagePrinter::drawTextAt(int x, int y, const QString& text, const QFont& font) {
    if (m_current)
        m_current->drawText(QPoint(x, y), font, text);
}

QString TPagePrinter::substitute(QString text) const {
    text.replace(QLatin1String("{$LINE}"), QString::number(m_lineNumber));
    text.replace(QLatin1String("{$PAGE}"), QString::number(m_pageNumber));
    text.replace(QLatin1String("{$DATE}"), germanformat::formatDate(QDate::currentDate()));
    text.replace(QLatin1String("{$TIME}"),
                 QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    text.replace(QLatin1String("{$TITLE}"), Title());
    return text;
}

void TPagePrinter::WriteText(const QString& input) {
    const QString text = expandTabs(input, m_tabSize);
    const int width = textWidth(text);
    const int available = PrintableWidth() - m_cursorX;
    if (width > available && text.size() > 1) {
        const int fit = fitLength(text, available, m_drawFont);
        if (!m_wordWrap) {
            WriteText(text.left(fit));
            return;
        }
        const Broken b = breakAt(text, fit, false);
        WriteText(b.part);
        if (!b.rest.isEmpty()) {
            NewLine();
            WriteText(b.rest);
        }
        return;
    }
    if (m_textFile) {
        writeRaw(text);
        m_cursorX += width;
        return;
    }
    if (m_cursorY + m_lineHeight >= PrintableHeight())
        NewPage();
    drawTextAt(leftMarginPixels() + m_cursorX, topMarginPixels() + m_cursorY, text, m_drawFont);
    m_cursorX += width;
}

void TPagePrinter::WriteAlignedLine(const QString& input) {
    const QString text = expandTabs(input, m_tabSize);
    if (m_alignment == taLeftJustify && surelyFits(text, PrintableWidth(), m_drawFont)) {
        writeLine(text);
        return;
    }
    const int width = textWidth(text);
    const int printable = PrintableWidth();
    if (width > printable && text.size() > 1) {
        m_cursorX = 0;
        const int fit = fitLength(text, printable, m_drawFont);
        if (!m_wordWrap) {
            WriteAlignedLine(text.left(fit));
            return;
        }
        const Broken b = breakAt(text, fit, true);
        WriteAlignedLine(b.part);
        if (!b.rest.isEmpty())
            WriteAlignedLine(b.rest);
        return;
    }
    writeLine(text);
}

// Steps 3 to 5 of an aligned line: position, page break, drawing, line end.
void TPagePrinter::writeLine(const QString& text) {
    const int width = m_alignment == taLeftJustify ? 0 : textWidth(text); // left: not needed
    m_cursorX = m_alignment == taRightJustify ? PrintableWidth() - width
                : m_alignment == taCenter     ? (PrintableWidth() - width) / 2
                                              : 0;
    if (m_textFile) {
        const int blank = std::max(1, textWidth(QStringLiteral(" ")));
        writeRaw(QString(std::max(0, m_cursorX / blank), QLatin1Char(' ')) + text);
        NewLine();
        return;
    }
    if (m_cursorY + m_lineHeight >= PrintableHeight())
        NewPage();
    drawTextAt(leftMarginPixels() + m_cursorX, topMarginPixels() + m_cursorY, text, m_drawFont);
    NewLine();
}

void TPagePrinter::WriteStyledLine(const QString& input) {
    const QString text = expandTabs(input, m_tabSize);
    // A left-justified line known to fit needs no width: its pieces go from the left edge.
    const bool left = m_alignment == taLeftJustify;
    const int width = left && surelyFits(text, PrintableWidth(), m_drawFont) ? 0 : textWidth(text);
    if (width > PrintableWidth() && text.size() > 1) {
        WriteAlignedLine(text); // wrapped styled lines print their codes as text
        return;
    }
    m_cursorX = m_alignment == taRightJustify ? PrintableWidth() - width
                : m_alignment == taCenter     ? (PrintableWidth() - width) / 2
                                              : 0;
    if (!m_textFile && m_cursorY + m_lineHeight >= PrintableHeight())
        NewPage();
    qsizetype start = 0; // where the piece not yet written begins
    auto flush = [&](qsizetype end, bool last) {
        if (end == start)
            return;
        const QString collected = text.mid(start, end - start); // shares text when whole
        if (m_textFile)
            writeRaw(collected);
        else
            drawTextAt(leftMarginPixels() + m_cursorX, topMarginPixels() + m_cursorY, collected,
                       m_drawFont);
        if (!last) // the line ends after the last piece: its width moves nothing
            m_cursorX += textWidth(collected);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('%') && i + 2 < text.size() && text[i + 2] == QLatin1Char('%') &&
            QStringLiteral("FKUN").contains(text[i + 1])) {
            flush(i, false);
            switch (text[i + 1].unicode()) {
            case 'F':
                m_drawFont.setBold(true);
                break;
            case 'K':
                m_drawFont.setItalic(true);
                break;
            case 'U':
                m_drawFont.setUnderline(true);
                break;
            default:
                m_drawFont.setBold(false);
                m_drawFont.setItalic(false);
                m_drawFont.setUnderline(false);
                break;
            }
            i += 2;
            start = i + 1;
        }
    }
    flush(text.size(), true);
    NewLine();
}

void TPagePrinter::WriteColumns(const QString& row) {
    const QList<columnformat::Token> tokens =
        columnformat::parse(m_tableFormat, m_separator, m_defaultColWidth);
    QStringList cells = columnformat::splitRow(row, m_separator);
    while (cells.size() < tokens.size())
        cells.append(QString());
    const int inset = resolutionX() / 300 * 6;
    const int blank = std::max(1, textWidth(QStringLiteral(" ")));
    int leading = m_leading;
    switch (m_lineSpacing) {
    case lsHalfSpace:
        leading = m_leading / 2;
        break;
    case lsSingleSpace:
        break;
    case lsSingleAndAHalf:
        leading = int(std::lround(m_leading * 1.5));
        break;
    case lsDoubleSpace:
        leading = m_leading * 2;
        break;
    }
    bool firstLine = true;
    for (;;) {
        m_cursorX = leftMarginPixels(); // counts from the printable origin here
        bool more = false;
        const int top = topMarginPixels() + m_cursorY;
        for (int column = 0; column < tokens.size(); ++column) {
            const columnformat::Token& token = tokens[column];
            const bool boxed = m_tableGrid && token.boxed;
            const int c = toPixelsX(token.width);
            QString text = cells[column];
            if (text.contains(QLatin1String("{$")))
                text = substitute(text);
            QString part;
            if (m_wordWrap) {
                const Broken b =
                    breakAt(text, text.isEmpty() ? 0 : fitLength(text, c, m_drawFont), false);
                part = b.part;
                QString rest = b.rest;
                if (const qsizetype lf = part.indexOf(QLatin1Char('\n')); lf >= 0) {
                    const QString after = part.mid(lf + 1);
                    part = part.left(lf);
                    rest = rest.isEmpty() ? after : after + QLatin1Char(' ') + rest;
                }
                cells[column] = rest;
                if (!rest.isEmpty())
                    more = true;
            } else {
                part = text.isEmpty() ? text : text.left(fitLength(text, c, m_drawFont));
                cells[column].clear();
            }
            // A cell placed from the left needs its width only to know it is narrower than
            // the column less the inset.
            const bool fromLeft =
                token.alignment != QLatin1Char('>') && token.alignment != QLatin1Char('^');
            const bool surelyNarrow =
                fromLeft && !m_textFile && surelyFits(part, c - inset - 1, m_drawFont);
            const int width = surelyNarrow ? 0 : textWidth(part);
            int offset = token.alignment == QLatin1Char('>')   ? c - width
                         : token.alignment == QLatin1Char('^') ? (c - width) / 2
                                                               : 0;
            if (surelyNarrow || width < c - inset) {
                if (token.alignment == QLatin1Char('>'))
                    offset -= inset;
                else if (token.alignment == QLatin1Char('<'))
                    offset += inset;
            }
            if (m_textFile) {
                writeRaw(QString(std::max(0, offset / blank), QLatin1Char(' ')) + part +
                         QString(std::max(0, (c - offset - width) / blank), QLatin1Char(' ')));
            } else {
                drawTextAt(m_cursorX + offset, top, part, m_drawFont);
                if (boxed) {
                    const int y0 = top - leading, y1 = y0 + m_lineHeight;
                    drawLine(QLine(m_cursorX, y0, m_cursorX, y1), false);
                    drawLine(QLine(m_cursorX + c, y0, m_cursorX + c, y1), false);
                    if (firstLine)
                        drawLine(QLine(m_cursorX, y0, m_cursorX + c, y0), true);
                }
            }
            m_cursorX += c;
        }
        firstLine = false;
        if (!more)
            break;
        NewLine();
    }
    if (m_tableGrid && !m_textFile) {
        int x = leftMarginPixels();
        const int bottom = topMarginPixels() + m_cursorY - leading + m_lineHeight;
        for (const columnformat::Token& token : tokens) {
            const int c = toPixelsX(token.width);
            if (token.boxed)
                drawLine(QLine(x, bottom, x + c, bottom), true);
            x += c;
        }
    }
    if (!m_inHeaderFooter || m_textFile)
        NewLine();
}
