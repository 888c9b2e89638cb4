#pragma once

class QMdiArea;
class QMdiSubWindow;
class QWidget;

// Puts a window into the work area in a frame that goes with it: a window that closes
// itself ("Ok", "Abbruch") leaves no empty frame behind. Both are deleted on closing.
QMdiSubWindow* addChildFrame(QMdiArea& area, QWidget* widget);
