#include "dialogkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

bool handleDialogKey(QWidget* window, QKeyEvent* event, QPushButton* defaultButton,
                     const std::function<void()>& cancel) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier)
        return false;
    if (event->key() == Qt::Key_Escape) {
        cancel();
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    // Outside a dialog a focused button lets Enter pass; pressing it is what a dialog does.
    auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    if (focused && !window->isAncestorOf(focused))
        focused = nullptr;
    QPushButton* target = focused ? focused : defaultButton;
    if (target && target->isVisibleTo(window) && target->isEnabled())
        target->click();
    return true;
}
