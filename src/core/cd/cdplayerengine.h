#pragma once

#include "cdplayer.h"
#include "cdsource.h"
#include "pcmring.h"
#include "pcmsink.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

// The program's CD player: a reader thread takes audio sectors from a drive or an image
// into a ring of about two seconds, from which the sink plays on its own thread. Every
// command runs on the reader thread, so the caller never waits for the drive. Data tracks
// are never played.
class CdPlayerEngine : public CdPlayer {
    Q_OBJECT
public:
    explicit CdPlayerEngine(std::unique_ptr<PcmSink> sink, QObject* parent = nullptr);
    ~CdPlayerEngine() override; // stops playing

    void open(const QString& source) override;
    void close() override;
    void play() override;
    void playTrack(int track, int frame = 0) override;
    void pause() override;
    void stop() override;
    void next() override;
    void previous() override;
    void seekToStart() override;
    void seek(int track, int frame) override;
    void eject() override;
    void closeDoor() override;
    void setPlayOption(PlayOption option) override;

    bool outputAvailable() const override;
    CdPlayerStatus status() const override;

    // The random track choice repeats for the same seed.
    void setRandomSeed(quint32 seed);
    // Returns once every command given so far has been carried out.
    void waitForCommands();

private:
    void post(std::function<void()> command);
    void run();
    // Everything below runs on the reader thread.
    void load(const QString& source);
    void unload();
    void startFrom(int lsn, bool playing);
    bool readingDue() const;
    void readSome();
    void checkEnd();
    void checkDisc();
    void endPlay(bool success);
    void publish();
    bool hasDisc() const;
    int heardLsn() const;
    int trackOf(int lsn) const;
    int audioTrackFrom(int index) const; // first audio track at or after index, or -1
    int nextTrackIndex();                // the track that follows at a boundary, or -1
    int firstAudioLsn() const;

    std::unique_ptr<PcmSink> m_sink;
    PcmRing m_ring;
    std::thread m_thread;
    mutable std::mutex m_commandMutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_commands;
    bool m_quit = false;
    int m_pendingCommands = 0;
    std::condition_variable m_commandsDone;

    mutable std::mutex m_statusMutex;
    CdPlayerStatus m_status;

    // Reader thread only.
    QString m_sourceName;
    std::unique_ptr<CdSource> m_source;
    CdMode m_mode = CdMode::NotReady;
    PlayOption m_option = PlayOption::None;
    bool m_sinkStarted = false;
    bool m_doorOpen = false;
    int m_readTrack = -1; // index of the track being read
    int m_readLsn = 0;    // next sector to read
    bool m_readerDone = false;
    int m_positionLsn = 0; // the position when nothing has been heard since the last jump
    int m_serial = 0;
    quint32 m_discId = 0;
    qint64 m_legacyCode = -1;
    std::mt19937 m_random;
    qint64 m_lastDiscCheck = 0;
    qint64 m_drainUntil = 0; // when the last bytes in the sink have been heard
};
