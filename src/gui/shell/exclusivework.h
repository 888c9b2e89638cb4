#pragma once

#include <QString>

class TMain;
class MessageService;

// Work that needs the data directory to itself (backup, restore, taking over Paradox tables):
// the windows close, the database and the lock are let go, and afterwards taken back.
namespace exclusivework {

// Asks with `question` until every window of the work area is closed; false when the user
// says no.
bool closeAllWindows(TMain& main, MessageService& messages, const QString& question);
// The wait cursor, the busy state and the menus; the database closed and the lock released.
void releaseDataSet(TMain& main);
// The lock and the database taken again (a tool may hold the lock meanwhile: said, and the
// program goes on without it), the main window usable again.
void retakeDataSet(TMain& main, MessageService& messages);

} // namespace exclusivework
