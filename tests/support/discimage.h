#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

// Writes small disc images (.cue and .bin) for CD tests. Every sector holds its own number
// (little-endian, repeated), so a wrong offset, order or seek shows in the bytes.
namespace discimage {

struct Track {
    int sectors = 0;
    bool audio = true;
};

inline Track seconds(int s, bool audio = true) {
    return {s * 75, audio};
}

// Writes dir/<name>.cue and dir/<name>.bin; missingSectors leaves that many off the end of
// the .bin (a truncated image). Returns the path of the .cue.
QString write(const QString& dir, const QList<Track>& tracks, int missingSectors = 0,
              const QString& name = QStringLiteral("disc"));

// The bytes of count sectors from sector first on, as the image holds them.
QByteArray sectors(int first, int count);

// The first sector of each track.
QList<int> trackStarts(const QList<Track>& tracks);

} // namespace discimage

// A disc image from (seconds, audio) pairs, written as dir/<name>.cue and .bin.
inline QString writeDiscImage(const QString& dir, const QString& name,
                              const QList<std::pair<int, bool>>& tracks) {
    QList<discimage::Track> list;
    for (const auto& [secondsLong, audio] : tracks)
        list.append(discimage::seconds(secondsLong, audio));
    return discimage::write(dir, list, 0, name);
}
