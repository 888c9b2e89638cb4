#pragma once

#include "cdtypes.h"

#include <QList>
#include <QString>

// What ReadCDToc learns about the CD in a drive or a disc image.
struct CdTocResult {
    double totalTime = 0; // Laufzeit value
    int tracks = 0;
    qint32 leadOutSeconds = 0;
    TCDToc toc{};
    quint32 discId = 0;
    bool hasAudio = false;
};

// Reads the table of contents of the CD in the drive ("/dev/sr0"; empty: the first drive)
// or of a disc image (.cue/.bin, .toc, .nrg). Appends one entry per track to list when
// given. Returns -1 when there is no readable disc, otherwise its legacy code (never -1).
// Reading the table of contents leaves a playing drive playing.
// True when NAME is a drive or a disc image whose data files are regular files. A pipe or a
// character device named as image would block the reader forever.
bool cdSourceOpenable(const QString& name);

qint64 ReadCDToc(int cdNumber, const QString& drive, QList<TCDList>* list, CdTocResult& result);

// libcdio's messages go to the debug log, shown only when verbose ("diskarium.cdio").
void setCdioVerbose(bool verbose);

// The CDDB disc ID of a table of contents with the given number of tracks.
quint32 CDDiscId(const TCDToc& toc, int tracks);

// The older code of a CD: n * trunc(M * 60 * S) + n from the total time M.S and n tracks.
qint64 legacyCode(double totalTime, int tracks);

// "7908090A": eight upper-case hexadecimal digits, as the query sends it.
QString discIdForQuery(quint32 discId);
// "7908090A" without leading zeros, as the dialog shows it.
QString discIdForDisplay(quint32 discId);
