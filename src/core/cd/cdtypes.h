#pragma once

#include <QString>
#include <array>

// One entry of a CD's table of contents: a track start, or the lead-out, as an absolute
// position in frames (75 per second, counted from the start of the disc; track 1 usually
// starts at frame 150) and as minutes and seconds.
struct TCDTocEntry {
    qint32 minutes = 0;
    qint32 seconds = 0;
    qint32 frameOffset = 0;

    static TCDTocEntry fromFrames(qint32 frames) {
        return {frames / 4500, (frames / 75) % 60, frames};
    }
    bool operator==(const TCDTocEntry&) const = default;
};

// Tracks 1..n at indexes 0..n-1, the lead-out at index n; at most 100 tracks.
using TCDToc = std::array<TCDTocEntry, 101>;

// One track of a read CD.
struct TCDList {
    qint16 cdNumber = 0;
    bool audio = false;
    double length = 0; // Laufzeit value, minutes.seconds
};

// A song title as the CDDB server knows it.
struct TCDTitleList {
    QString interpreter;
    QString title;
    bool operator==(const TCDTitleList&) const = default;
};

// The disc check code of one CD of a carrier.
struct TCDCode {
    qint16 cdNumber = 0;
    quint32 discId = 0;
};
