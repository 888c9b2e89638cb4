#pragma once

#include <QAbstractScrollArea>
#include <QColor>

class TPagePrinter;

enum TZoomLocation { zlTopLeft, zlTopCenter, zlCenter };

// Shows one recorded page of the page printer at a zoom, centred on a gradient, with a
// drop shadow and the margins dotted in.
class TPageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TPageView(TPagePrinter& printer, QWidget* parent = nullptr);

    quint32 ZoomPercent() const { return m_zoom; }
    void setZoomPercent(quint32 percent);
    TZoomLocation ZoomLocation() const { return m_location; }
    void setZoomLocation(TZoomLocation location) { m_location = location; }
    bool ShowMargins() const { return m_showMargins; }
    void setShowMargins(bool on);
    QColor ShadowColor() const { return m_shadowColor; }
    void setShadowColor(const QColor& color);
    quint32 ShadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(quint32 offset);
    bool GradientBackground() const { return m_gradient; }
    void setGradientBackground(bool on);

    // A fit is kept while the view changes size (it is worked out again when the window is
    // first laid out or resized) until a zoom percentage is set.
    void ZoomToPageWidth();
    void ZoomToPageHeight();
    void ZoomToFullPage();

    // Size of the page on screen and of the scrollable content, in screen pixels.
    QSize pageSizeOnScreen() const;
    QSize scrollRange() const;
    // Re-reads the page and geometry after the document or page changed.
    void pageChanged();

signals:
    // The zoom changed without a command: a kept fit followed a new size.
    void zoomFollowedSize();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int screenDpiX() const;
    int screenDpiY() const;
    int zoomedScreenX(double units) const;
    int zoomedScreenY(double units) const;
    void updateScrollRanges();
    enum class Fit { None, PageWidth, PageHeight, FullPage };
    void applyFit();
    void fitPageWidth();
    void fitPageHeight();
    void setZoom(quint32 percent);

    TPagePrinter& m_printer;
    quint32 m_zoom = 25;
    TZoomLocation m_location = zlTopLeft;
    bool m_showMargins = true;
    QColor m_shadowColor;
    quint32 m_shadowOffset = 5;
    bool m_gradient = true;
    Fit m_fit = Fit::None;
};
