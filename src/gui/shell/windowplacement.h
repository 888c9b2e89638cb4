#pragma once

#include <QObject>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

// Where windows appear: MDI children inside the visible part of the work area, top-level
// windows (dialogs, help, preview) inside the screen's available geometry.
namespace windowplacement {

// Shrinks the child to the visible part of the area and moves it inside; maximized and
// tabbed children are left as they are.
void fitIntoArea(QMdiArea& area, QMdiSubWindow& child);

// Makes the child the area's active window, on top, restored when minimised, with the focus
// in it. The focus also decides which child comes back when the frame is activated again
// (after a modal dialog closed), so it is set even while the frame is not active.
void bringToFront(QMdiArea& area, QMdiSubWindow& child);

// Shrinks a top-level window to the available geometry of its screen, frame included, and
// moves it inside.
void fitToScreen(QWidget& window);

// Applies fitToScreen to every top-level window of the program when it is shown.
class ScreenFitFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace windowplacement
