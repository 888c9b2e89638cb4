#pragma once

#include "lookupselectionwindow.h"

// Selection window of the lookup tables of kinds 0 to 3, in key order, with a context menu.
class TSelDBDialog : public LookupSelectionWindow {
    Q_OBJECT
public:
    TSelDBDialog(LookupCommands& commands, int kind)
        : LookupSelectionWindow(commands, kind, true) {}
};

// Selection window of the video lookups (kinds 4 to 7), ordered by short name.
class TSelVideoKatDialog : public LookupSelectionWindow {
    Q_OBJECT
public:
    TSelVideoKatDialog(LookupCommands& commands, int kind)
        : LookupSelectionWindow(commands, kind, false) {}
};
