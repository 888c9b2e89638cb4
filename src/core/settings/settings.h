#pragma once

#include <QString>
#include <array>

// Every preference of the settings file "WinDsKm.InI", with its default. The program holds
// one instance for its whole run; windows read it, the settings dialog changes it.
struct Settings {
    // [Printer]
    bool printDialog = false;
    QString emfSavePath;
    QString lastPrinter;
    // [Application], [Toolbar]
    bool showToolbar = true;
    int buttonType = 1; // 1 images only, 2 captions only, 3 images and captions
    bool showStatusbar = true;
    bool showHints = true;
    bool directDeleteLended = false;
    bool globalNumbering = false;
    int globalNumber = 1;
    bool globalVideoNumbering = false;
    int globalVideoNumber = 1;
    bool doubleClickChange = true;
    bool tabbedWindows = false; // the work area shows its windows as tabs
    // [CD-Support]
    int cdPlayerEndStatus = 1; // 0 stop, 1 ask, 2 let it play
    int cdPlayerColor = 0;     // colour number: red in the lowest byte
    int cdTexttimeColor = 8421376;
    bool cdUseLed = false;
    QString cdDriveLetter;
    QString cdImportDriveLetter;
    // [Helpdatabases]
    QString fontName = QStringLiteral("Arial");
    qint16 fontSize = 11;
    // [Records], [Printing]
    bool calcDialog = false;
    bool getSongOrder = false;
    QString exportImportPath;
    QString exportImportPathTemplate;
    QString fontNameList = QStringLiteral("Courier");
    qint16 fontSizeList = 11;
    QString fontNameRecords = QStringLiteral("Courier");
    qint16 fontSizeRecords = 11;
    QString fontNameStat = QStringLiteral("Arial");
    qint16 fontSizeStat = 11;
    QString fontNameMahn = QStringLiteral("Arial");
    qint16 fontSizeMahn = 11;
    QString fontNameLend = QStringLiteral("Arial");
    int fontSizeLend = 11;
    QString singerSortOrder;
    QString searchSortOrder;
    bool printPreview = true;
    bool printAdditionalText = false;
    int printListSelectType = 0;
    int printListSortType = 0;
    // [Tips]
    int lastTip = 1;
    bool showTip = true;
    // [CDDB]
    QString cddbHost;
    QString cddbUserName; // an e-mail address: sent in the hello, and MusicBrainz's contact
    // [Backup]
    QString backupPath;
    QString restorePath;
    // [TT Rename] "1".."7": which windows show the renamed field labels
    std::array<bool, 7> ttRename = {false, true, true, false, false, false, false};
    // [Currency]
    int currencyOld = 2;
    int currencyNew = 1;
    double currencyDate1 = 37256; // day number from 30.12.1899: 31.12.2001
    double currencyDate2 = 37257; // always currencyDate1 + 1
    // [MusicBrainz] the web service and the cover archive (a mirror or a test server)
    QString musicBrainzServer = QStringLiteral("https://musicbrainz.org");
    QString coverArtServer = QStringLiteral("https://coverartarchive.org");
    int lookupSource = 0; // the source last used in the look-up dialog: 0 CDDB, 1 MusicBrainz

    bool operator==(const Settings&) const = default;
};

// Reading and writing "WinDsKm.InI". Window placement and tool bar sections belong to the
// windows themselves; every key not listed here survives a write untouched.
namespace settingsfile {

inline constexpr auto kFileName = "WinDsKm.InI";

// A missing or unreadable file, a missing key or an unreadable number gives the default.
// A "Button Type" outside 1..3 leaves base.buttonType as it is.
Settings read(const QString& path, const Settings& base = Settings());
bool write(const QString& path, const Settings& settings, QString* error = nullptr);

// The preview window's own key, [NewPreviewToolbar] "Button Type", default 0.
int readPreviewButtonType(const QString& path);
bool writePreviewButtonType(const QString& path, int buttonType, QString* error = nullptr);

} // namespace settingsfile
