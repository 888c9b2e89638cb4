#include "recordingsink.h"

#include <vector>

namespace {
constexpr qint64 kSinkChunk = pcm::kSectorBytes * 4;
} // namespace

RecordingSink::RecordingSink(Pace pace) : m_pace(pace) {}

RecordingSink::~RecordingSink() {
    stop();
}

bool RecordingSink::start(PcmSource& source) {
    stop();
    m_source = &source;
    m_quit = false;
    m_running = false;
    m_thread = std::thread([this] { run(); });
    return true;
}

void RecordingSink::resume() {
    std::lock_guard lock(m_mutex);
    m_running = true;
    m_wake.notify_all();
}

void RecordingSink::suspend() {
    std::lock_guard lock(m_mutex);
    m_running = false;
}

void RecordingSink::stop() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_wake.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
}

QByteArray RecordingSink::recorded() const {
    std::lock_guard lock(m_mutex);
    return m_recorded;
}

std::optional<std::chrono::steady_clock::time_point> RecordingSink::firstBytesAt() const {
    std::lock_guard lock(m_mutex);
    return m_first;
}

void RecordingSink::run() {
    using clock = std::chrono::steady_clock;
    std::vector<char> buffer(static_cast<size_t>(kSinkChunk));
    clock::time_point paceStart = clock::now();
    qint64 pacedBytes = 0;
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            const bool wasRunning = m_running;
            m_wake.wait(lock, [this] { return m_quit || m_running; });
            if (m_quit)
                return;
            if (!wasRunning) { // real time counts from the moment playing went on
                paceStart = clock::now();
                pacedBytes = 0;
            }
        }
        qint64 want = kSinkChunk;
        if (m_limit > 0)
            want = std::min(want, m_limit - m_taken);
        if (want <= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        const qint64 n = m_source->readPcm(buffer.data(), want);
        if (n == 0) {
            // Nothing offered: the reader is behind or play has ended.
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            paceStart = clock::now();
            pacedBytes = 0;
            continue;
        }
        {
            std::lock_guard lock(m_mutex);
            if (!m_first)
                m_first = clock::now();
            if (!m_consumer)
                m_recorded.append(buffer.data(), n);
        }
        if (m_consumer)
            m_consumer(buffer.data(), n);
        m_taken += n;
        if (m_pace == Pace::RealTime) {
            pacedBytes += n;
            const auto due =
                paceStart + std::chrono::microseconds(pacedBytes * 1000000 / pcm::kBytesPerSecond);
            std::this_thread::sleep_until(due);
        }
    }
}
