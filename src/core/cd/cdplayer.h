#pragma once

#include <QList>
#include <QObject>
#include <QString>

// What the player's device reports about itself.
enum class CdMode { NotReady, Open, Stopped, Playing, Paused };

// What happens at the end of a track; the engine acts on it at the boundary, so nothing of
// the track that would have followed is heard.
enum class PlayOption { None, Random, RepeatTrack, RepeatAll };

// One look at the player, taken at once (the window reads it on every tick).
struct CdPlayerStatus {
    CdMode mode = CdMode::NotReady;
    int track = 0;          // the track being heard, from 1; 0 without a disc
    int trackFrame = 0;     // frames heard of that track
    int discFrame = 0;      // frames from the start of track 1 to the position heard
    QList<int> trackFrames; // length of each track in frames
    QList<bool> audio;      // per track: an audio track
    int discFrames = 0;     // start of track 1 to the lead-out
    quint32 discId = 0;
    qint64 legacyCode = -1;
    int discSerial = 0; // changes whenever another disc (or the same one again) is loaded
    QString source;     // the drive or image this status is about

    int tracks() const { return int(trackFrames.size()); }
    bool hasDisc() const { return mode != CdMode::NotReady && mode != CdMode::Open; }
};

// The device the CD player window drives: a drive or a disc image played through the sound
// output. Every command returns at once; the device carries it out on its own thread and
// the next status shows the result.
class CdPlayer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void open(const QString& source) = 0; // the same source again changes nothing
    virtual void close() = 0;
    virtual void play() = 0; // from the current position
    virtual void playTrack(int track, int frame = 0) = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void next() = 0;
    virtual void previous() = 0;
    virtual void seekToStart() = 0;
    virtual void seek(int track, int frame) = 0; // plays on from there when playing
    virtual void eject() = 0;
    virtual void closeDoor() = 0;
    virtual void setPlayOption(PlayOption option) = 0;

    // False when there is no sound output to play to.
    virtual bool outputAvailable() const = 0;
    virtual CdPlayerStatus status() const = 0;

signals:
    // Play ran to its end (success) or the disc could not be read (failure).
    void playEnded(bool success);
};
