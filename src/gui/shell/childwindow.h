#pragma once

#include <QList>

class QMenu;

// What the main window may ask of its MDI children: settings that changed (stored data
// reach windows through the database's change notices); while active a child may add menus
// to the menu bar.
class ChildWindow {
public:
    virtual ~ChildWindow() = default;

    virtual void cdColoursChanged() {} // the CD player's display colours changed
    virtual void songOrderChanged() {} // title before running time, or the reverse
    virtual void cdLedModeChanged() {} // the CD player switches LED style on or off
    virtual void hintsChanged(bool) {}
    // The user's field names or the [TT Rename] switches changed: captions are applied again.
    virtual void fieldLabelsChanged() {}
    virtual int carrierNumber() const { return 0; } // the carrier this window shows, 0 if none

    // Menus shown in the menu bar while this child is active.
    virtual QList<QMenu*> contributedMenus() { return {}; }
};
