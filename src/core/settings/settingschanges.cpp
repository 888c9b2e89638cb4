#include "settingschanges.h"

std::vector<SettingsNotification> settingsNotifications(const Settings& before,
                                                        const Settings& after) {
    std::vector<SettingsNotification> n;
    if (before.showHints != after.showHints)
        n.push_back(SettingsNotification::Hints);
    if (before.cdUseLed != after.cdUseLed)
        n.push_back(SettingsNotification::CdLedMode);
    if (before.getSongOrder != after.getSongOrder)
        n.push_back(SettingsNotification::SongOrder);
    if (before.cdTexttimeColor != after.cdTexttimeColor)
        n.push_back(SettingsNotification::CdColour);
    if (before.cdPlayerColor != after.cdPlayerColor)
        n.push_back(SettingsNotification::CdColour);
    if (before.ttRename != after.ttRename)
        n.push_back(SettingsNotification::FieldLabels);
    return n;
}
