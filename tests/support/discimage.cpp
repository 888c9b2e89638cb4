#include "discimage.h"

#include <QFile>
#include <QtEndian>

namespace discimage {

QByteArray sectors(int first, int count) {
    QByteArray bytes(qsizetype(count) * 2352, Qt::Uninitialized);
    char* out = bytes.data();
    for (int s = 0; s < count; ++s) {
        for (int i = 0; i < 2352; i += 4, out += 4)
            qToLittleEndian<qint32>(first + s, out);
    }
    return bytes;
}

QList<int> trackStarts(const QList<Track>& tracks) {
    QList<int> starts;
    int start = 0;
    for (const Track& t : tracks) {
        starts.append(start);
        start += t.sectors;
    }
    return starts;
}

QString write(const QString& dir, const QList<Track>& tracks, int missingSectors,
              const QString& name) {
    QString cue = QStringLiteral("FILE \"%1.bin\" BINARY\n").arg(name);
    const QList<int> starts = trackStarts(tracks);
    int total = 0;
    for (int i = 0; i < tracks.size(); ++i) {
        const int start = starts[i];
        cue += QStringLiteral("  TRACK %1 %2\n")
                   .arg(i + 1, 2, 10, QLatin1Char('0'))
                   .arg(tracks[i].audio ? QStringLiteral("AUDIO") : QStringLiteral("MODE1/2352"));
        cue += QStringLiteral("    INDEX 01 %1:%2:%3\n")
                   .arg(start / 4500, 2, 10, QLatin1Char('0'))
                   .arg(start / 75 % 60, 2, 10, QLatin1Char('0'))
                   .arg(start % 75, 2, 10, QLatin1Char('0'));
        total += tracks[i].sectors;
    }
    QFile bin(dir + QLatin1Char('/') + name + QStringLiteral(".bin"));
    if (!bin.open(QIODevice::WriteOnly))
        return {};
    bin.write(sectors(0, total - missingSectors));
    QFile cueFile(dir + QLatin1Char('/') + name + QStringLiteral(".cue"));
    if (!cueFile.open(QIODevice::WriteOnly))
        return {};
    cueFile.write(cue.toLatin1());
    return cueFile.fileName();
}

} // namespace discimage
