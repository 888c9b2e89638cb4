#include "hintfilter.h"

#include <QEvent>

bool HintFilter::eventFilter(QObject* watched, QEvent* event) {
    if (!m_enabled && (event->type() == QEvent::ToolTip || event->type() == QEvent::StatusTip ||
                       event->type() == QEvent::WhatsThis))
        return true;
    return QObject::eventFilter(watched, event);
}
