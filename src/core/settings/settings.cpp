#include "settings.h"

#include "core/common/germanformat.h"
#include "core/common/inifile.h"

#include <limits>

namespace settingsfile {
namespace {

const QString kPrinter = QStringLiteral("Printer");
const QString kApplication = QStringLiteral("Application");
const QString kToolbar = QStringLiteral("Toolbar");
const QString kCdSupport = QStringLiteral("CD-Support");
const QString kHelpdatabases = QStringLiteral("Helpdatabases");
const QString kRecords = QStringLiteral("Records");
const QString kPrinting = QStringLiteral("Printing");
const QString kTips = QStringLiteral("Tips");
const QString kCddb = QStringLiteral("CDDB");
const QString kBackup = QStringLiteral("Backup");
const QString kTtRename = QStringLiteral("TT Rename");
const QString kCurrency = QStringLiteral("Currency");
const QString kButtonType = QStringLiteral("Button Type");
const QString kMusicBrainz = QStringLiteral("MusicBrainz");

// Calls visit(section, key, member) for every key in the order the file is read.
// "Button Type" is handled apart because of its range rule.
template <class S, class Visit> void visitKeys(S& s, Visit&& visit) {
    visit(kPrinter, QStringLiteral("Print Dialog"), s.printDialog);
    visit(kPrinter, QStringLiteral("EMF Save Path"), s.emfSavePath);
    visit(kPrinter, QStringLiteral("Last Printer"), s.lastPrinter);
    visit(kApplication, QStringLiteral("Show Toolbar"), s.showToolbar);
    visit(kApplication, QStringLiteral("Show Statusbar"), s.showStatusbar);
    visit(kApplication, QStringLiteral("Show Hints"), s.showHints);
    visit(kApplication, QStringLiteral("Direct Delete Lended"), s.directDeleteLended);
    visit(kApplication, QStringLiteral("Global Numbering"), s.globalNumbering);
    visit(kApplication, QStringLiteral("Global Number"), s.globalNumber);
    visit(kApplication, QStringLiteral("Global Video Numbering"), s.globalVideoNumbering);
    visit(kApplication, QStringLiteral("Global Video Number"), s.globalVideoNumber);
    visit(kApplication, QStringLiteral("Double Click Change"), s.doubleClickChange);
    visit(kApplication, QStringLiteral("Tabbed Windows"), s.tabbedWindows);
    visit(kCdSupport, QStringLiteral("CD Player End Status"), s.cdPlayerEndStatus);
    visit(kCdSupport, QStringLiteral("CD Player Color"), s.cdPlayerColor);
    visit(kCdSupport, QStringLiteral("CD Texttime Color"), s.cdTexttimeColor);
    visit(kCdSupport, QStringLiteral("CD Use LED"), s.cdUseLed);
    visit(kCdSupport, QStringLiteral("CD Drive Letter"), s.cdDriveLetter);
    visit(kCdSupport, QStringLiteral("CD Import Drive Letter"), s.cdImportDriveLetter);
    visit(kHelpdatabases, QStringLiteral("Font Name"), s.fontName);
    visit(kHelpdatabases, QStringLiteral("Font Size"), s.fontSize);
    visit(kRecords, QStringLiteral("Calc Dialog"), s.calcDialog);
    visit(kRecords, QStringLiteral("Get Song Order"), s.getSongOrder);
    visit(kRecords, QStringLiteral("Export Import Path"), s.exportImportPath);
    visit(kPrinting, QStringLiteral("Export Import Path Template"), s.exportImportPathTemplate);
    visit(kRecords, QStringLiteral("Font Name List"), s.fontNameList);
    visit(kRecords, QStringLiteral("Font Size List"), s.fontSizeList);
    visit(kRecords, QStringLiteral("Font Name Records"), s.fontNameRecords);
    visit(kRecords, QStringLiteral("Font Size Records"), s.fontSizeRecords);
    visit(kRecords, QStringLiteral("Font Name Stat"), s.fontNameStat);
    visit(kRecords, QStringLiteral("Font Size Stat"), s.fontSizeStat);
    visit(kRecords, QStringLiteral("Font Name Mahn"), s.fontNameMahn);
    visit(kRecords, QStringLiteral("Font Size Mahn"), s.fontSizeMahn);
    visit(kRecords, QStringLiteral("Font Name Lend"), s.fontNameLend);
    visit(kRecords, QStringLiteral("Font Size Lend"), s.fontSizeLend);
    visit(kRecords, QStringLiteral("Singer Sort Order"), s.singerSortOrder);
    visit(kRecords, QStringLiteral("Search Sort Order"), s.searchSortOrder);
    visit(kPrinting, QStringLiteral("Print Preview"), s.printPreview);
    visit(kPrinting, QStringLiteral("Print Additional Text"), s.printAdditionalText);
    visit(kPrinting, QStringLiteral("Print List Select Type"), s.printListSelectType);
    visit(kPrinting, QStringLiteral("Print List Sort Type"), s.printListSortType);
    visit(kTips, QStringLiteral("Last Tip"), s.lastTip);
    visit(kTips, QStringLiteral("Show Tip"), s.showTip);
    visit(kCddb, QStringLiteral("Host"), s.cddbHost);
    visit(kCddb, QStringLiteral("User Name"), s.cddbUserName);
    visit(kBackup, QStringLiteral("Backup Path"), s.backupPath);
    visit(kBackup, QStringLiteral("Restore Path"), s.restorePath);
    for (int i = 0; i < int(s.ttRename.size()); ++i)
        visit(kTtRename, QString::number(i + 1), s.ttRename[i]);
    visit(kCurrency, QStringLiteral("Old"), s.currencyOld);
    visit(kCurrency, QStringLiteral("New"), s.currencyNew);
    visit(kCurrency, QStringLiteral("Date 1"), s.currencyDate1);
    visit(kCurrency, QStringLiteral("Date 2"), s.currencyDate2);
    visit(kMusicBrainz, QStringLiteral("Server"), s.musicBrainzServer);
    visit(kMusicBrainz, QStringLiteral("Cover Server"), s.coverArtServer);
    visit(kMusicBrainz, QStringLiteral("Source"), s.lookupSource);
}

std::optional<qint64> readInteger(const IniFile& ini, const QString& section, const QString& key) {
    const auto text = ini.value(section, key);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const qint64 v = text->toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

template <class Int>
void readRanged(const IniFile& ini, const QString& section, const QString& key, Int& target) {
    const auto v = readInteger(ini, section, key);
    if (v && *v >= std::numeric_limits<Int>::min() && *v <= std::numeric_limits<Int>::max())
        target = Int(*v);
}

struct Reader {
    const IniFile& ini;
    void operator()(const QString& section, const QString& key, bool& target) const {
        if (const auto v = readInteger(ini, section, key))
            target = *v != 0;
    }
    void operator()(const QString& section, const QString& key, int& target) const {
        readRanged(ini, section, key, target);
    }
    void operator()(const QString& section, const QString& key, qint16& target) const {
        readRanged(ini, section, key, target);
    }
    void operator()(const QString& section, const QString& key, QString& target) const {
        if (const auto v = ini.value(section, key))
            target = *v;
    }
    void operator()(const QString& section, const QString& key, double& target) const {
        if (const auto text = ini.value(section, key)) {
            if (const auto v = germanformat::parseNumber(*text))
                target = *v;
        }
    }
};

struct Writer {
    IniFile& ini;
    void operator()(const QString& section, const QString& key, bool value) const {
        ini.setValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
    }
    void operator()(const QString& section, const QString& key, int value) const {
        ini.setValue(section, key, QString::number(value));
    }
    void operator()(const QString& section, const QString& key, qint16 value) const {
        ini.setValue(section, key, QString::number(value));
    }
    void operator()(const QString& section, const QString& key, const QString& value) const {
        ini.setValue(section, key, value);
    }
    void operator()(const QString& section, const QString& key, double value) const {
        ini.setValue(section, key, germanformat::formatNumber(value));
    }
};

bool isButtonType(qint64 value) {
    return value >= 1 && value <= 3;
}

} // namespace

Settings read(const QString& path, const Settings& base) {
    Settings s = base;
    const IniFile ini = IniFile::load(path).value_or(IniFile());
    visitKeys(s, Reader{ini});
    if (const auto mode = readInteger(ini, kToolbar, kButtonType); mode && isButtonType(*mode))
        s.buttonType = int(*mode);
    return s;
}

bool write(const QString& path, const Settings& settings, QString* error) {
    auto ini = IniFile::load(path, error);
    if (!ini)
        return false;
    visitKeys(settings, Writer{*ini});
    ini->setValue(kToolbar, kButtonType,
                  QString::number(isButtonType(settings.buttonType) ? settings.buttonType : 1));
    return ini->save(path, error);
}

int readPreviewButtonType(const QString& path) {
    const IniFile ini = IniFile::load(path).value_or(IniFile());
    int mode = 0;
    readRanged(ini, QStringLiteral("NewPreviewToolbar"), kButtonType, mode);
    return mode;
}

bool writePreviewButtonType(const QString& path, int buttonType, QString* error) {
    auto ini = IniFile::load(path, error);
    if (!ini)
        return false;
    ini->setValue(QStringLiteral("NewPreviewToolbar"), kButtonType, QString::number(buttonType));
    return ini->save(path, error);
}

} // namespace settingsfile
