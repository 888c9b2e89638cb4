#pragma once

#include "core/lookup/lookupkinds.h"
#include "lookupselectionwindow.h"

// Selection window of the currencies ("Währungen bearbeiten").
class TSelCurDialog : public LookupSelectionWindow {
    Q_OBJECT
public:
    explicit TSelCurDialog(LookupCommands& commands)
        : LookupSelectionWindow(commands, lookup::kCurrencies, true) {}
};
