#pragma once

// Which commands of the main window are enabled, from the program's state.
struct MenuState {
    bool windowCommands = false; // tile, cascade, close all, arrange icons, minimise all
    bool dataCommands = false;   // commands that need at least one carrier
    bool cdPlayer = false;       // with or without a drive: it plays disc images too
};

struct MenuInputs {
    int childWindows = 0;
    bool busy = false;      // a backup or restore runs
    long long carriers = 0; // read only while not busy
    bool cdDrivePresent = false;
    bool cdPlayerOpen = false;
};

MenuState menuStateFor(const MenuInputs& in);
