#include "childframe.h"

#include <QMdiArea>
#include <QMdiSubWindow>

QMdiSubWindow* addChildFrame(QMdiArea& area, QWidget* widget) {
    widget->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* frame = area.addSubWindow(widget);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    // Deleted later: the window is still being taken apart when it says it is gone.
    QObject::connect(widget, &QObject::destroyed, frame, &QObject::deleteLater);
    return frame;
}
