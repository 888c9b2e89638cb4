// The settings file WinDsKm.InI and the server list cddbhosts.txt as anyone may have edited
// them: read without crashing, and a settings file written back keeps every line it held.
#include "core/cd/cddbtext.h"
#include "core/common/inifile.h"
#include "core/common/windows1252.h"
#include "core/settings/settings.h"
#include "fuzzsupport.h"

DISKARIUM_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzsupport::bytes(data, size);
    // The text model: read, written, read again gives the same lines.
    const IniFile ini = IniFile::fromText(windows1252::decodeTextFile(bytes));
    const QString text = ini.text();
    FUZZ_REQUIRE(IniFile::fromText(text).text() == text);
    for (const QString& section : ini.sections())
        for (const QString& key : ini.keys(section))
            FUZZ_REQUIRE(ini.contains(section, key));

    // The program's settings: every value in its range or the default, and writing them
    // into the file keeps what the file said about everything else.
    const QString path = fuzzsupport::asFile(bytes, QStringLiteral("WinDsKm.InI"));
    const Settings settings = settingsfile::read(path);
    QString error;
    if (settingsfile::write(path, settings, &error)) {
        const Settings again = settingsfile::read(path);
        FUZZ_REQUIRE(again.globalNumber == settings.globalNumber);
        FUZZ_REQUIRE(again.currencyNew == settings.currencyNew);
    }

    // The server list, line by line and as a file.
    for (const QString& line : windows1252::decodeTextFile(bytes).split(QLatin1Char('\n')))
        cddb::parseServerLine(line);
    cddb::loadServerList(fuzzsupport::asFile(bytes, QStringLiteral("cddbhosts.txt")));
    return 0;
}
