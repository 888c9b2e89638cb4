#include "exclusivework.h"

#include "core/common/messageservice.h"
#include "core/db/dataset.h"
#include "core/db/dberror.h"
#include "core/shell/appstate.h"
#include "gui/shell/mainwindow.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QThread>

namespace exclusivework {

bool closeAllWindows(TMain& main, MessageService& messages, const QString& question) {
    while (!main.mdiArea()->subWindowList().isEmpty()) {
        if (messages.confirm(question, MessageButton::Yes | MessageButton::No) !=
            MessageButton::Yes)
            return false;
        const QList<QMdiSubWindow*> children = main.mdiArea()->subWindowList();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            (*it)->close();
        // A closing window may post its last work: let it run before looking again.
        QApplication::processEvents();
        QThread::msleep(5);
        QApplication::processEvents();
    }
    return true;
}

void releaseDataSet(TMain& main) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    AppState& state = main.state();
    state.busy = true;
    main.updateMenuItems();
    state.db.close();
    state.lock.release();
}

void retakeDataSet(TMain& main, MessageService& messages) {
    AppState& state = main.state();
    if (state.lock.acquire() == DataDirectoryLock::Result::InUse)
        messages.error(DataDirectoryLock::inUseText()); // a tool took the data meanwhile
    try {
        state.db.open(dataset::databasePath(state.dataDirectory));
    } catch (const DbError& e) {
        messages.error(e.message());
    }
    state.busy = false;
    main.setEnabled(true);
    main.updateMenuItems();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

} // namespace exclusivework
