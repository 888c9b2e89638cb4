#pragma once

#include "core/shell/appstate.h"
#include "core/shell/datadirectory.h"
#include "core/shell/startupsequence.h"
#include "scriptedmessageservice.h"

#include <memory>

// The program-wide state on a fresh data directory with its database open, as the main
// window has it after the start; null when the data set could not be created.
inline std::unique_ptr<AppState> openAppState(const QString& dataDirectory) {
    auto state = std::make_unique<AppState>();
    state->dataDirectory = datadirectory::withTrailingSeparator(dataDirectory);
    ScriptedMessageService messages;
    if (!startup::openDatabase(state->db, state->dataDirectory, messages))
        return nullptr;
    return state;
}
