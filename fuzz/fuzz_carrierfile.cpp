// Carrier files (*.DKM) from anywhere: the reader must refuse or accept without crashing,
// and what it accepts must come back unchanged through the writer.
#include "core/catalogue/carrierfile.h"
#include "fuzzsupport.h"

DISKARIUM_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const carrierfile::Parsed parsed = carrierfile::parse(fuzzsupport::bytes(data, size));
    if (!parsed.ok) {
        FUZZ_REQUIRE(!parsed.error.text().isEmpty());
        return 0;
    }
    // Written and read again, a carrier is written the same way.
    const QByteArray written = carrierfile::format(parsed.carrier);
    const carrierfile::Parsed again = carrierfile::parse(written);
    FUZZ_REQUIRE(again.ok);
    FUZZ_REQUIRE(carrierfile::format(again.carrier) == written);
    return 0;
}
