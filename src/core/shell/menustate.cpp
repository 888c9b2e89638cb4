#include "menustate.h"

MenuState menuStateFor(const MenuInputs& in) {
    MenuState s;
    s.windowCommands = in.childWindows > 0;
    s.dataCommands = !in.busy && in.carriers > 0;
    s.cdPlayer = in.cdDrivePresent || in.cdPlayerOpen;
    return s;
}
