#pragma once

#include <functional>

class QKeyEvent;
class QPushButton;
class QWidget;

// Enter and Escape for a window in the work area, as a dialog has them: Enter clicks the
// focused button or else the default one, Escape runs `cancel`. Call from keyPressEvent; a
// field that uses the key itself (an open drop-down, a grid editor) never passes it on.
// Returns whether the key was one of the two.
bool handleDialogKey(QWidget* window, QKeyEvent* event, QPushButton* defaultButton,
                     const std::function<void()>& cancel);
