// Replies of the MusicBrainz web service, whatever they hold: the releases of a disc and
// the hits of a release search and a chosen release are read without crashing; what is read
// is consistent, and a release becomes a carrier's songs whatever its media and numbers.
#include "core/cd/musicbrainz.h"
#include "core/cd/musicbrainzrelease.h"
#include "core/cd/musicbrainzsearch.h"
#include "fuzzsupport.h"

DISKARIUM_FUZZ_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray json = fuzzsupport::bytes(data, size);
    if (const auto releases = musicbrainz::parseDiscReply(json, QStringLiteral("abc"), 3)) {
        for (const musicbrainz::Release& release : *releases) {
            release.label();
            const cddb::DiscRecord record = release.toDiscRecord();
            FUZZ_REQUIRE(record.tracks.size() == release.tracks.size());
        }
    }
    if (const auto page = musicbrainz::parseSearchReply(json)) {
        FUZZ_REQUIRE(page->offset >= 0);
        page->range();
    }
    if (const auto release = musicbrainz::parseReleaseReply(json)) {
        const musicbrainz::ReleaseTakeOver taken = musicbrainz::takeOver(*release, QString());
        FUZZ_REQUIRE(taken.year.isEmpty() || taken.year.size() == 4);
    }
    return 0;
}
