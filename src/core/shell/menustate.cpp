#include "menustate.h"

MenuState menuStateFor(const MenuInputs& in) {
    MenuState s;
    s.windowCommands = in.childWindows > 0;
    s.dataCommands = !in.busy && in.carriers > 0;
    // Disc images play without a drive, so the player is always there.
    s.cdPlayer = true;
    return s;
}
