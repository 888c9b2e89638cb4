#pragma once

#include "settings.h"

#include <vector>

// What the open windows must be told after the settings dialog was confirmed, in the order
// the values are applied: hints, LED mode, song order, then each CD colour that changed, then
// the field label switches.
enum class SettingsNotification { Hints, CdLedMode, SongOrder, CdColour, FieldLabels };

std::vector<SettingsNotification> settingsNotifications(const Settings& before,
                                                        const Settings& after);
