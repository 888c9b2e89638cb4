#include "pageview.h"

#include "core/printing/pageprinter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <cmath>

TPageView::TPageView(TPagePrinter& printer, QWidget* parent)
    : QAbstractScrollArea(parent), m_printer(printer),
      m_shadowColor(palette().color(QPalette::Dark)) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    updateScrollRanges();
}

int TPageView::screenDpiX() const {
    return viewport()->logicalDpiX();
}
int TPageView::screenDpiY() const {
    return viewport()->logicalDpiY();
}

namespace {
double inches(const TPagePrinter& p, double units) {
    return p.MeasureUnit() == muMillimeters ? units / 25.4 : units;
}
} // namespace

int TPageView::zoomedScreenX(double units) const {
    const int screen = int(std::lround(inches(m_printer, units) * screenDpiX()));
    return int(std::lround(screen * m_zoom / 100.0));
}

int TPageView::zoomedScreenY(double units) const {
    const int screen = int(std::lround(inches(m_printer, units) * screenDpiY()));
    return int(std::lround(screen * m_zoom / 100.0));
}

QSize TPageView::pageSizeOnScreen() const {
    const double ratioX = double(m_printer.resolutionX()) / screenDpiX();
    const double ratioY = double(m_printer.resolutionY()) / screenDpiY();
    if (!m_printer.printer()) {
        // Without a printer the fallback paper is converted to the screen directly.
        return {int(std::lround(inches(m_printer, m_printer.PaperWidth()) * screenDpiX() * m_zoom /
                                100.0)),
                int(std::lround(inches(m_printer, m_printer.PaperHeight()) * screenDpiY() * m_zoom /
                                100.0))};
    }
    const int paperX = m_printer.toPixelsX(m_printer.PaperWidth());
    const int paperY = m_printer.toPixelsY(m_printer.PaperHeight());
    return {int(std::lround(paperX * double(m_zoom) / ratioX / 100.0)),
            int(std::lround(paperY * double(m_zoom) / ratioY / 100.0))};
}

QSize TPageView::scrollRange() const {
    const QSize page = pageSizeOnScreen();
    const int extra = 2 * int(m_shadowOffset) + 2;
    return {page.width() + extra, page.height() + extra};
}

void TPageView::updateScrollRanges() {
    const QSize range = scrollRange();
    const QSize client = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, range.width() - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, range.height() - client.height()));
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setPageStep(client.height());
    switch (m_location) {
    case zlTopLeft:
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
        break;
    case zlTopCenter:
        horizontalScrollBar()->setValue((range.width() - client.width()) / 2);
        verticalScrollBar()->setValue(0);
        break;
    case zlCenter:
        horizontalScrollBar()->setValue((range.width() - client.width()) / 2);
        verticalScrollBar()->setValue((range.height() - client.height()) / 2);
        break;
    }
    viewport()->update();
}

void TPageView::pageChanged() {
    updateScrollRanges();
}

void TPageView::setZoomPercent(quint32 percent) {
    m_fit = Fit::None;
    setZoom(percent);
}

void TPageView::setZoom(quint32 percent) {
    m_zoom = std::max<quint32>(percent, 1);
    updateScrollRanges();
}

void TPageView::setShowMargins(bool on) {
    m_showMargins = on;
    viewport()->update();
}

void TPageView::setShadowColor(const QColor& color) {
    m_shadowColor = color;
    viewport()->update();
}

void TPageView::setShadowOffset(quint32 offset) {
    m_shadowOffset = offset;
    updateScrollRanges();
}

void TPageView::setGradientBackground(bool on) {
    m_gradient = on;
    viewport()->update();
}

void TPageView::ZoomToPageWidth() {
    m_fit = Fit::PageWidth;
    applyFit();
}

void TPageView::ZoomToPageHeight() {
    m_fit = Fit::PageHeight;
    applyFit();
}

void TPageView::ZoomToFullPage() {
    m_fit = Fit::FullPage;
    applyFit();
}

void TPageView::applyFit() {
    Fit fit = m_fit;
    if (fit == Fit::FullPage) {
        const QSize page = pageSizeOnScreen();
        const QSize client = viewport()->size();
        fit =
            page.height() > 0 && client.height() > 0 &&
                    double(page.width()) / page.height() > double(client.width()) / client.height()
                ? Fit::PageWidth
                : Fit::PageHeight;
    }
    if (fit == Fit::PageWidth)
        fitPageWidth();
    else if (fit == Fit::PageHeight)
        fitPageHeight();
}

void TPageView::fitPageWidth() {
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int client = viewport()->width() + (verticalScrollBar()->isVisible() ? scrollBar : 0);
    const double ratio = double(m_printer.resolutionX()) / screenDpiX();
    const int paper = m_printer.toPixelsX(m_printer.PaperWidth());
    if (paper > 0)
        setZoom(quint32(
            std::max(1.0, std::trunc(100.0 * (client - scrollBar - 2 * (int(m_shadowOffset) + 1)) *
                                     ratio / paper))));
}

void TPageView::fitPageHeight() {
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int client = viewport()->height() + (horizontalScrollBar()->isVisible() ? scrollBar : 0);
    const double ratio = double(m_printer.resolutionY()) / screenDpiY();
    const int paper = m_printer.toPixelsY(m_printer.PaperHeight());
    if (paper > 0)
        setZoom(quint32(
            std::max(1.0, std::trunc(100.0 * (client - scrollBar - 2 * (int(m_shadowOffset) + 1)) *
                                     ratio / paper))));
}

void TPageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    // A kept fit follows the client area; one asked for before the first show met an area that
    // was not laid out yet.
    const quint32 before = m_zoom;
    if (m_fit != Fit::None)
        applyFit();
    updateScrollRanges();
    if (m_zoom != before)
        emit zoomFollowedSize();
}

void TPageView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QSize range = scrollRange();
    const QSize area(std::max(range.width(), viewport()->width()),
                     std::max(range.height(), viewport()->height()));
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    if (m_gradient && area.height() > 1) {
        QLinearGradient gradient(0, 0, 0, area.height() - 1);
        gradient.setColorAt(0, Qt::black);
        gradient.setColorAt(1, palette().color(QPalette::Window));
        painter.fillRect(QRect(QPoint(), area), gradient);
    } else {
        painter.fillRect(QRect(QPoint(), area), palette().color(QPalette::Window));
    }
    const QSize page = pageSizeOnScreen();
    const QRect rect((area.width() - page.width()) / 2, (area.height() - page.height()) / 2,
                     page.width(), page.height());
    const int shadow = int(m_shadowOffset);
    if (shadow > 0) {
        painter.setPen(m_shadowColor);
        painter.setBrush(m_shadowColor);
        painter.drawRect(QRect(QPoint(rect.right() + 1, rect.top() + shadow),
                               QPoint(rect.right() + shadow, rect.bottom() + shadow)));
        painter.drawRect(QRect(QPoint(rect.left() + shadow, rect.bottom() + 1),
                               QPoint(rect.right(), rect.bottom() + shadow)));
    }
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(rect);
    const int number = m_printer.PageNumber();
    if (number >= 1 && number <= m_printer.PageCount()) {
        const PagePicture& picture = m_printer.PageImage(number);
        const QRect target(QPoint(rect.left() + zoomedScreenX(m_printer.PhysicalOffsetX()) + 1,
                                  rect.top() + zoomedScreenY(m_printer.PhysicalOffsetY()) + 1),
                           QPoint(rect.right() + 1, rect.bottom() + 1));
        painter.save();
        painter.setClipRect(rect);
        painter.translate(target.topLeft());
        if (picture.size().width() > 0 && picture.size().height() > 0)
            painter.scale(double(target.width()) / picture.size().width(),
                          double(target.height()) / picture.size().height());
        painter.setRenderHint(QPainter::TextAntialiasing);
        picture.replay(painter);
        painter.restore();
    }
    if (m_showMargins) {
        QPen dotted(QColor(192, 192, 192));
        dotted.setStyle(Qt::DotLine);
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(rect.left() + zoomedScreenX(m_printer.MarginLeft()),
                                      rect.top() + zoomedScreenY(m_printer.MarginTop())),
                               QPoint(rect.right() - zoomedScreenX(m_printer.MarginRight()),
                                      rect.bottom() - zoomedScreenY(m_printer.MarginBottom()))));
    }
}
