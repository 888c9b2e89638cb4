#pragma once

#include "core/catalogue/carrierorigins.h"
#include "core/cd/cdtoc.h"
#include "core/cd/cdtypes.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <functional>
#include <optional>

class MessageService;

// A song whose side and number its source gave (a release found by a search), not one per
// track read.
struct ReadingSong {
    double side = 1;
    double number = 1;
    QString title;
    QString interpreter;
    double length = 0; // Laufzeit value
    bool operator==(const ReadingSong&) const = default;
};

// What "CD lesen" or a release search gathered for a new carrier; stored only at its first save.
struct CdReading {
    QList<TCDList> tracks;                          // every track of every disc, in order
    QList<std::optional<TCDTitleList>> trackTitles; // one per track; none for an unknown disc
    QList<TCDCode> codes;                           // one per disc
    QStringList textLines;                          // extended lines of every found disc
    bool found = false;                             // the server knew at least one disc
    QString artist;                                 // of the first disc the server knew
    QString title;
    int totalTracks = 0;
    double totalTime = 0; // Laufzeit value
    QString year;         // release year and genre of the first disc that has them
    QString genre;
    QByteArray cover; // front cover (JPEG) of the first disc that has one; becomes picture 1
    QList<ReadingSong> songs;     // when not empty, the songs instead of one per track
    QList<CarrierOrigin> origins; // where the carrier was taken from; stored at the first save
};

// What the CDDB lookup of one disc hands back.
struct CddbAnswer {
    bool found = false;
    QString artist;
    QString title;
    QList<TCDTitleList> titles;
    QStringList extendedData;
    QString year;  // as the source wrote it
    QString genre; // free text
    QByteArray cover;
    QList<CarrierOrigin> origins; // the MusicBrainz release chosen; none from CDDB
};

// Asks a CDDB server about one disc: the program runs its lookup dialog, tests script it.
class CddbLookupService {
public:
    virtual ~CddbLookupService() = default;
    virtual CddbAnswer lookup(const CdTocResult& disc) = 0;
};

// Reads one disc's table of contents; ReadCDToc in the program.
using TocReader =
    std::function<qint64(int cdNumber, const QString& drive, QList<TCDList>*, CdTocResult&)>;

// Adds one read disc with what the server said about it: each disc's titles stay on its
// own tracks, an unknown disc's tracks get none.
void addDisc(CdReading& reading, int disc, const QList<TCDList>& tracks, const CdTocResult& toc,
             const CddbAnswer& answer);

// Where disc n is read from: a drive or a disc image file. again: the last reading of that
// disc failed and the user wants to try once more. Nothing when the user cancelled.
using DiscSource = std::function<std::optional<QString>(int disc, bool again)>;

// The drive, once the user confirmed that disc n is inserted; tried again without asking.
DiscSource driveSource(MessageService& messages, const QString& drive);
// An image file the user chooses for each disc (and again after a failed reading); directory
// is proposed and follows the last choice.
DiscSource imageSource(MessageService& messages, QString* directory);

// Reads one or more discs, asking for each and whether another follows. Returns nothing
// when the user cancelled or gave up on a disc: the caller keeps its previous reading.
std::optional<CdReading> readCds(MessageService& messages, const DiscSource& source,
                                 CddbLookupService& lookup, const TocReader& reader = ReadCDToc);
inline std::optional<CdReading> readCds(MessageService& messages, const QString& drive,
                                        CddbLookupService& lookup,
                                        const TocReader& reader = ReadCDToc) {
    return readCds(messages, driveSource(messages, drive), lookup, reader);
}
