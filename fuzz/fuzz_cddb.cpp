// A CDDB server's side of the conversation, whatever it says: cddbp lines and HTTP bodies,
// every status class, any protocol level. The exchange must end (closing the connection
// finishes it) and its reply must parse.
#include "core/cd/cddbexchange.h"
#include "core/cd/cddbtext.h"
#include "fuzzsupport.h"

DISKARIUM_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    // The first byte chooses the command and the transport, the second the chunk size.
    const auto command = CddbExchange::Command(data[0] % 3);
    const bool http = (data[0] & 0x4) != 0;
    const size_t chunk = 1 + data[1] % 64;
    data += 2;
    size -= 2;
    CddbExchange exchange(command, QByteArrayLiteral("cddb query 01020304 1 150 10"),
                          QStringLiteral("nutzer@example.org"), QStringLiteral("rechner"));
    if (http)
        exchange.startHttp();
    else
        exchange.connected();
    for (size_t at = 0; at < size && !exchange.finished(); at += chunk)
        exchange.received(QByteArrayView(reinterpret_cast<const char*>(data) + at,
                                         qsizetype(std::min(chunk, size - at))));
    if (http)
        exchange.bodyEnded();
    exchange.connectionClosed();
    FUZZ_REQUIRE(exchange.finished());
    if (!exchange.succeeded())
        FUZZ_REQUIRE(!exchange.failureMessage().isEmpty());
    exchange.status();
    cddb::parseQueryReply(exchange.reply());
    const cddb::DiscRecord record = cddb::parseRecord(exchange.reply());
    FUZZ_REQUIRE(record.tracks.size() <= 100); // a CD has at most 99 tracks
    return 0;
}
