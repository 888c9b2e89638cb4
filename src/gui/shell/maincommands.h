#pragma once

#include <QKeySequence>
#include <QString>
#include <vector>

// Every command of the main menu, in menu order, with caption, shortcut, help context and
// the hint the status bar shows.
enum class MainCommand {
    NewCarrier,
    ImportCarrier,
    EditCarriers,
    PrintList,
    PrintAll,
    CdPlayer,
    Lending,
    StatisticsMediaTypes,
    StatisticsDirections,
    StatisticsStates,
    StatisticsYears,
    Backup,
    Restore,
    PrinterSetup,
    Exit,
    SearchSongs,
    SearchCarriers,
    Settings,
    ScannerSource,
    Currencies,
    MediaTypes,
    MusicDirections,
    States,
    DanceStyles,
    VideoCategories,
    VideoCassetteTypes,
    VideoAudioTypes,
    VideoLanguages,
    ListTemplates,
    CarrierTemplates,
    ReminderTemplates,
    LendingTemplates,
    Tile,
    Cascade,
    CloseAll,
    MinimizeAll,
    ArrangeIcons,
    HelpIndex,
    HelpSearch,
    HelpKeyboard,
    HelpFirstSteps,
    HelpUsingHelp,
    ShowReadme,
    ShowLicence,
    ShowVersions,
    Tips,
    About,
    Copyright,
    ImportParadox,
    ImportDiscogs,
    ExportDiscogs,
};

enum class MainMenu { File, Statistics, Search, Options, Lookups, Window, Help };

struct CommandInfo {
    MainCommand command;
    MainMenu menu;
    QString caption;
    QKeySequence shortcut;
    int helpContext; // 0: none
    QString hint;
    bool separatorBefore = false;
};

const std::vector<CommandInfo>& mainCommands();
const CommandInfo& commandInfo(MainCommand command);

struct MenuInfo {
    MainMenu menu;
    QString caption;
    int helpContext;
};
const std::vector<MenuInfo>& mainMenus();

// The buttons of the three tool bars: caption, command, and a separator before it.
struct ToolButtonInfo {
    QString caption;
    MainCommand command;
    bool separatorBefore = false;
};
struct ToolBarInfo {
    QString title;
    std::vector<ToolButtonInfo> buttons;
};
const std::vector<ToolBarInfo>& mainToolBars();
