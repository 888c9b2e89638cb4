#pragma once

#include <QtGlobal>

// CD audio as it comes off the disc: 44.1 kHz, 16 bit, stereo, little-endian samples.
namespace pcm {
constexpr int kSectorBytes = 2352;
constexpr int kSampleRate = 44100;
constexpr int kBytesPerSecond = kSampleRate * 4;
} // namespace pcm

// Where a sink takes the bytes it plays; called on the sink's own thread.
class PcmSource {
public:
    virtual ~PcmSource() = default;
    // Copies up to maxSize bytes; 0 when nothing is ready just now.
    virtual qint64 readPcm(char* data, qint64 maxSize) = 0;
};

// Plays PCM taken from a source, outside the thread that controls it.
class PcmSink {
public:
    virtual ~PcmSink() = default;

    virtual bool isAvailable() const = 0;
    // Starts taking bytes from source, suspended; false when there is no output.
    virtual bool start(PcmSource& source) = 0;
    virtual void resume() = 0;
    virtual void suspend() = 0;
    // No byte is taken from the source once this returns.
    virtual void stop() = 0;
    // Bytes taken from the source but not heard yet.
    virtual qint64 pendingBytes() const { return 0; }
};
