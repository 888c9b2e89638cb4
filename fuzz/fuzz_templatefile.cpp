// Template files (*.DKMT) from anywhere: refused with a message or taken over, and what is
// taken over comes back unchanged through the writer.
#include "core/printing/templatefile.h"
#include "fuzzsupport.h"

DISKARIUM_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path =
        fuzzsupport::asFile(fuzzsupport::bytes(data, size), QStringLiteral("in.DKMT"));
    QString error;
    const auto record = templatefile::read(path, &error);
    if (!record) {
        FUZZ_REQUIRE(!error.isEmpty());
        return 0;
    }
    const QString copy = fuzzsupport::workspace().filePath(QStringLiteral("copy.DKMT"));
    FUZZ_REQUIRE(templatefile::write(copy, *record, &error));
    const auto again = templatefile::read(copy, &error);
    FUZZ_REQUIRE(again.has_value());
    FUZZ_REQUIRE(*again == *record);
    return 0;
}
