#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <utility>

// A small disc image for tests: a .bin of silent sectors and a .cue naming each track's
// start and kind. Returns the path of the .cue.
inline QString writeDiscImage(const QString& dir, const QString& name,
                              const QList<std::pair<int, bool>>& tracks /* seconds, audio */) {
    QFile bin(dir + "/" + name + ".bin");
    bin.open(QIODevice::WriteOnly);
    QString cue = QStringLiteral("FILE \"%1.bin\" BINARY\n").arg(name);
    int startSeconds = 0;
    for (int i = 0; i < tracks.size(); ++i) {
        cue += QStringLiteral("  TRACK %1 %2\n")
                   .arg(i + 1, 2, 10, QLatin1Char('0'))
                   .arg(tracks[i].second ? QStringLiteral("AUDIO") : QStringLiteral("MODE1/2352"));
        cue += QStringLiteral("    INDEX 01 %1:%2:00\n")
                   .arg(startSeconds / 60, 2, 10, QLatin1Char('0'))
                   .arg(startSeconds % 60, 2, 10, QLatin1Char('0'));
        startSeconds += tracks[i].first;
    }
    bin.write(QByteArray(qsizetype(startSeconds) * 75 * 2352, '\0'));
    QFile cueFile(dir + "/" + name + ".cue");
    cueFile.open(QIODevice::WriteOnly);
    cueFile.write(cue.toLatin1());
    return cueFile.fileName();
}
