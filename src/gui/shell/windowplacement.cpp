#include "windowplacement.h"

#include <QApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

namespace windowplacement {
namespace {

// The top-left corner that keeps a rectangle of this size inside the bounds, moving it as
// little as possible; the left and top edges win when it is too large anyway.
QPoint keptInside(QPoint topLeft, QSize size, const QRect& bounds) {
    topLeft.setX(std::max(bounds.left(), std::min(topLeft.x(), bounds.right() + 1 - size.width())));
    topLeft.setY(
        std::max(bounds.top(), std::min(topLeft.y(), bounds.bottom() + 1 - size.height())));
    return topLeft;
}

QMargins frameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry(), inner = window.geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

// The window manager's frame is known only once a window was shown; before that the frame of
// a shown window of the program stands in for it.
QMargins expectedFrame(const QWidget& window) {
    if (window.isVisible())
        return frameOf(window);
    const QWidget* shown[] = {window.parentWidget(), QApplication::activeWindow()};
    for (const QWidget* other : shown) {
        if (other && other->window()->isVisible())
            return frameOf(*other->window());
    }
    return {};
}

QScreen* screenOf(const QWidget& window) {
    if (const QWidget* parent = window.parentWidget())
        return parent->window()->screen();
    if (QScreen* at = QGuiApplication::screenAt(window.geometry().center()))
        return at;
    return window.screen();
}

// A widget one can click and tab into: the scroll buttons of a tab bar take the focus by tab
// only and are no place to start typing.
bool takesFocus(const QWidget& w) {
    return w.isEnabled() && (w.focusPolicy() & Qt::StrongFocus) == Qt::StrongFocus;
}

QWidget* firstFocusable(QWidget& container) {
    for (QWidget* w = container.nextInFocusChain(); w && w != &container;
         w = w->nextInFocusChain()) {
        if (container.isAncestorOf(w) && w->isVisibleTo(&container) && takesFocus(*w))
            return w;
    }
    return nullptr;
}

} // namespace

void fitIntoArea(QMdiArea& area, QMdiSubWindow& child) {
    if (area.viewMode() == QMdiArea::TabbedView || child.isMaximized() || child.isMinimized())
        return;
    const QRect visible = area.viewport()->rect();
    if (visible.isEmpty())
        return;
    const QSize size = child.size().boundedTo(visible.size());
    if (size != child.size())
        child.resize(size);
    const QPoint at = keptInside(child.pos(), child.size(), visible);
    if (at != child.pos())
        child.move(at);
}

void bringToFront(QMdiArea& area, QMdiSubWindow& child) {
    if (child.isMinimized())
        child.showNormal();
    area.setActiveSubWindow(&child);
    child.raise();
    QWidget* content = child.widget() ? child.widget() : &child;
    QWidget* target = content->focusWidget();
    if (!target || !content->isAncestorOf(target) || !takesFocus(*target))
        target = firstFocusable(*content);
    if (!target)
        target = content;
    if (QApplication::focusWidget() != target)
        target->setFocus(Qt::OtherFocusReason);
}

void fitToScreen(QWidget& window) {
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    const QScreen* screen = screenOf(window);
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QMargins frame = expectedFrame(window);
    const QSize room = available.size().shrunkBy(frame);
    const QSize size = window.size().boundedTo(room).expandedTo(window.minimumSize());
    if (size != window.size())
        window.resize(size);
    // pos() is the frame's corner, the size the inner one.
    const QPoint at = keptInside(window.pos(), window.size().grownBy(frame), available);
    if (at != window.pos())
        window.move(at);
}

bool ScreenFitFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog))
            fitToScreen(*widget);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace windowplacement
