#pragma once

#include "pcmsink.h"

#include <QByteArray>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// A sink without a sound card: it takes the PCM as fast as it is offered, or at the pace of
// real playback, and keeps it (or hands it on) for tests, benchmarks and WAV files.
class RecordingSink : public PcmSink {
public:
    enum class Pace { AsFastAsOffered, RealTime };
    using Consumer = std::function<void(const char* data, qint64 size)>;

    explicit RecordingSink(Pace pace = Pace::AsFastAsOffered);
    ~RecordingSink() override;

    // Takes the bytes instead of keeping them.
    void setConsumer(Consumer consumer) { m_consumer = std::move(consumer); }
    // Takes no more than this many bytes in all (0: no limit).
    void setLimit(qint64 bytes) { m_limit = bytes; }

    bool isAvailable() const override { return true; }
    bool start(PcmSource& source) override;
    void resume() override;
    void suspend() override;
    void stop() override;

    QByteArray recorded() const;
    qint64 bytesTaken() const { return m_taken; }
    // When the first bytes arrived, if they have.
    std::optional<std::chrono::steady_clock::time_point> firstBytesAt() const;

private:
    void run();

    const Pace m_pace;
    Consumer m_consumer;
    std::atomic<qint64> m_limit{0};
    PcmSource* m_source = nullptr;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_running = false;
    bool m_quit = false;
    QByteArray m_recorded;
    std::atomic<qint64> m_taken{0};
    std::optional<std::chrono::steady_clock::time_point> m_first;
};
