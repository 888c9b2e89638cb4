#include "entrypage.h"

#include <QFocusEvent>

void EntryPage::tellOnce(const std::function<void()>& tell) {
    // A message box runs its own event loop, in which a pending focus-out check would
    // otherwise stack a second box on the first.
    if (m_telling)
        return;
    m_telling = true;
    tell();
    m_telling = false;
}

bool EntryPage::leftForAnotherControl(const QEvent* event) {
    if (event->type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
