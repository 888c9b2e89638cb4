#include "cdplayerengine.h"

#include "cdtoc.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace {
constexpr int kRingSectors = 150; // two seconds
constexpr int kReadBatch = 25;    // a third of a second per read
constexpr qint64 kDiscCheckMs = 1000;
} // namespace

CdPlayerEngine::CdPlayerEngine(std::unique_ptr<PcmSink> sink, QObject* parent)
    : CdPlayer(parent), m_sink(std::move(sink)), m_ring(kRingSectors),
      m_random(std::random_device{}()) {
    m_thread = std::thread([this] { run(); });
}

CdPlayerEngine::~CdPlayerEngine() {
    post([this] { unload(); });
    {
        std::lock_guard lock(m_commandMutex);
        m_quit = true;
        m_wake.notify_all();
    }
    m_thread.join();
    if (m_sinkStarted)
        m_sink->stop();
}

void CdPlayerEngine::post(std::function<void()> command) {
    std::lock_guard lock(m_commandMutex);
    m_commands.push_back(std::move(command));
    ++m_pendingCommands;
    m_wake.notify_all();
}

void CdPlayerEngine::waitForCommands() {
    std::unique_lock lock(m_commandMutex);
    m_commandsDone.wait(lock, [this] { return m_pendingCommands == 0; });
}

void CdPlayerEngine::run() {
    for (;;) {
        std::function<void()> command;
        {
            std::unique_lock lock(m_commandMutex);
            const bool reading = readingDue();
            if (m_commands.empty() && !reading && !m_quit)
                m_wake.wait_for(lock, std::chrono::milliseconds(10));
            if (!m_commands.empty()) {
                command = std::move(m_commands.front());
                m_commands.pop_front();
            } else if (m_quit) {
                return;
            }
        }
        if (command) {
            command();
            publish();
            std::lock_guard lock(m_commandMutex);
            --m_pendingCommands;
            m_commandsDone.notify_all();
            continue;
        }
        if (readingDue())
            readSome();
        if (m_mode == CdMode::Playing)
            checkEnd();
        checkDisc();
        publish();
    }
}

// --- commands -------------------------------------------------------------------------

void CdPlayerEngine::open(const QString& source) {
    post([this, source] {
        if (source == m_sourceName && (m_source || m_doorOpen))
            return;
        unload();
        m_sourceName = source;
        load(source);
    });
}

void CdPlayerEngine::close() {
    post([this] {
        unload();
        m_sourceName.clear();
        m_doorOpen = false;
    });
}

void CdPlayerEngine::play() {
    post([this] {
        if (m_mode == CdMode::Paused) {
            m_mode = CdMode::Playing;
            m_sink->resume();
        } else if (m_mode == CdMode::Stopped) {
            startFrom(m_positionLsn, true);
        }
    });
}

void CdPlayerEngine::playTrack(int track, int frame) {
    post([this, track, frame] {
        if (!hasDisc() || track < 1 || track > m_source->tracks().size())
            return;
        startFrom(m_source->tracks()[track - 1].start + std::max(0, frame), true);
    });
}

void CdPlayerEngine::pause() {
    post([this] {
        if (m_mode != CdMode::Playing)
            return;
        m_sink->suspend();
        m_mode = CdMode::Paused;
    });
}

void CdPlayerEngine::stop() {
    post([this] {
        if (m_mode != CdMode::Playing && m_mode != CdMode::Paused)
            return;
        const int position = heardLsn();
        m_sink->suspend();
        m_ring.clear();
        m_mode = CdMode::Stopped;
        m_positionLsn = position;
    });
}

void CdPlayerEngine::next() {
    post([this] {
        if (!hasDisc())
            return;
        const int next = audioTrackFrom(trackOf(heardLsn()) + 1);
        if (next >= 0)
            startFrom(m_source->tracks()[next].start, m_mode == CdMode::Playing);
    });
}

void CdPlayerEngine::previous() {
    post([this] {
        if (!hasDisc())
            return;
        int index = trackOf(heardLsn());
        for (int i = index - 1; i >= 0; --i) {
            if (m_source->tracks()[i].audio) {
                index = i;
                break;
            }
        }
        startFrom(m_source->tracks()[index].start, m_mode == CdMode::Playing);
    });
}

void CdPlayerEngine::seekToStart() {
    post([this] {
        if (hasDisc())
            startFrom(firstAudioLsn(), m_mode == CdMode::Playing);
    });
}

void CdPlayerEngine::seek(int track, int frame) {
    post([this, track, frame] {
        if (!hasDisc() || track < 1 || track > m_source->tracks().size())
            return;
        startFrom(m_source->tracks()[track - 1].start + std::max(0, frame),
                  m_mode == CdMode::Playing);
    });
}

void CdPlayerEngine::eject() {
    post([this] {
        if (m_source)
            m_source->eject();
        unload();
        m_doorOpen = true;
        m_mode = CdMode::Open;
    });
}

void CdPlayerEngine::closeDoor() {
    post([this] {
        if (m_sourceName.isEmpty())
            return;
        if (!m_source && m_doorOpen && !QFileInfo(m_sourceName).isFile())
            cddoor::close(m_sourceName);
        m_doorOpen = false;
        if (!m_source)
            load(m_sourceName);
    });
}

void CdPlayerEngine::setPlayOption(PlayOption option) {
    post([this, option] { m_option = option; });
}

void CdPlayerEngine::setRandomSeed(quint32 seed) {
    post([this, seed] { m_random.seed(seed); });
}

bool CdPlayerEngine::outputAvailable() const {
    return m_sink->isAvailable();
}

CdPlayerStatus CdPlayerEngine::status() const {
    std::lock_guard lock(m_statusMutex);
    return m_status;
}

// --- the reader thread ------------------------------------------------------------------

void CdPlayerEngine::load(const QString& source) {
    m_source = CdSource::open(source);
    m_mode = CdMode::NotReady;
    m_lastDiscCheck = QDateTime::currentMSecsSinceEpoch();
    if (!m_source)
        return;
    ++m_serial;
    CdTocResult toc;
    m_legacyCode = ReadCDToc(1, source, nullptr, toc);
    m_discId = toc.discId;
    // A disc without an audio track is no audio CD.
    if (firstAudioLsn() < 0)
        return;
    m_mode = CdMode::Stopped;
    m_positionLsn = firstAudioLsn();
    m_readTrack = -1;
    m_readerDone = true;
}

void CdPlayerEngine::unload() {
    if (m_sinkStarted)
        m_sink->suspend();
    m_ring.clear();
    m_source.reset();
    m_mode = CdMode::NotReady;
    m_readTrack = -1;
    m_readerDone = true;
    m_discId = 0;
    m_legacyCode = -1;
}

void CdPlayerEngine::startFrom(int lsn, bool playing) {
    const QList<CdTrack>& tracks = m_source->tracks();
    int index = trackOf(lsn);
    if (!tracks[index].audio) {
        // Data tracks would sound as loud noise: on to the next audio track.
        index = audioTrackFrom(index + 1);
        if (index < 0) {
            if (playing)
                endPlay(true);
            return;
        }
        lsn = tracks[index].start;
    }
    if (m_sinkStarted)
        m_sink->suspend();
    m_ring.clear();
    m_readTrack = index;
    m_readLsn = lsn;
    m_positionLsn = lsn;
    m_readerDone = false;
    if (!playing) {
        m_mode = CdMode::Stopped;
        m_readerDone = true;
        return;
    }
    if (!m_sinkStarted) {
        if (!m_sink->start(m_ring))
            return; // no sound output: stays as it was
        m_sinkStarted = true;
    }
    m_mode = CdMode::Playing;
    readSome(); // the first sectors at once, so sound starts without a wait
    if (m_mode == CdMode::Playing)
        m_sink->resume();
}

bool CdPlayerEngine::readingDue() const {
    // Whole batches: a drive reads better in runs than sector by sector.
    return (m_mode == CdMode::Playing || m_mode == CdMode::Paused) && !m_readerDone &&
           m_ring.freeSectors() >= kReadBatch;
}

void CdPlayerEngine::readSome() {
    static thread_local std::vector<char> buffer(size_t(kReadBatch) * pcm::kSectorBytes);
    int budget = std::min(m_ring.freeSectors(), kReadBatch);
    while (budget > 0 && !m_readerDone) {
        const CdTrack& track = m_source->tracks()[m_readTrack];
        if (m_readLsn >= track.end) {
            const int next = nextTrackIndex();
            if (next < 0) {
                m_readerDone = true;
                break;
            }
            m_readTrack = next;
            m_readLsn = m_source->tracks()[next].start;
            continue;
        }
        const int count = std::min(budget, track.end - m_readLsn);
        if (!m_source->read(m_readLsn, count, buffer.data())) {
            endPlay(false);
            return;
        }
        for (int i = 0; i < count; ++i)
            m_ring.push(m_readLsn + i, buffer.data() + size_t(i) * pcm::kSectorBytes);
        m_readLsn += count;
        budget -= count;
    }
}

void CdPlayerEngine::checkEnd() {
    if (!m_readerDone || !m_ring.isEmpty()) {
        m_drainUntil = 0;
        return;
    }
    // The last bytes are in the sink: play ends once they have been heard.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (m_drainUntil == 0)
        m_drainUntil = now + m_sink->pendingBytes() * 1000 / pcm::kBytesPerSecond;
    if (now >= m_drainUntil) {
        m_drainUntil = 0;
        endPlay(true);
    }
}

void CdPlayerEngine::checkDisc() {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - m_lastDiscCheck < kDiscCheckMs || m_sourceName.isEmpty() || m_doorOpen)
        return;
    m_lastDiscCheck = now;
    if (!m_source) {
        load(m_sourceName); // a disc may have been inserted
    } else if (m_mode == CdMode::Stopped && !m_source->discUnchanged()) {
        unload();
        load(m_sourceName);
    }
}

void CdPlayerEngine::endPlay(bool success) {
    if (m_sinkStarted)
        m_sink->suspend();
    m_ring.clear();
    m_readerDone = true;
    m_readTrack = -1;
    m_mode = CdMode::Stopped;
    // After the end of the disc, Play starts it again.
    m_positionLsn = firstAudioLsn();
    QMetaObject::invokeMethod(
        this, [this, success] { emit playEnded(success); }, Qt::QueuedConnection);
}

bool CdPlayerEngine::hasDisc() const {
    return m_source && m_mode != CdMode::NotReady && m_mode != CdMode::Open;
}

int CdPlayerEngine::heardLsn() const {
    if (m_mode != CdMode::Playing && m_mode != CdMode::Paused)
        return m_positionLsn;
    const int taken = m_ring.lastTakenLsn();
    if (taken < 0)
        return m_positionLsn;
    // The sink still holds what it took last; it has not been heard yet.
    const int held = int(m_sink->pendingBytes() / pcm::kSectorBytes);
    const int trackStart = m_source->tracks()[trackOf(taken)].start;
    return std::max(trackStart, taken - held);
}

int CdPlayerEngine::trackOf(int lsn) const {
    const QList<CdTrack>& tracks = m_source->tracks();
    for (int i = int(tracks.size()) - 1; i > 0; --i) {
        if (lsn >= tracks[i].start)
            return i;
    }
    return 0;
}

int CdPlayerEngine::audioTrackFrom(int index) const {
    const QList<CdTrack>& tracks = m_source->tracks();
    for (int i = std::max(0, index); i < tracks.size(); ++i) {
        if (tracks[i].audio)
            return i;
    }
    return -1;
}

int CdPlayerEngine::firstAudioLsn() const {
    const int index = m_source ? audioTrackFrom(0) : -1;
    return index < 0 ? -1 : m_source->tracks()[index].start;
}

int CdPlayerEngine::nextTrackIndex() {
    switch (m_option) {
    case PlayOption::RepeatTrack:
        return m_readTrack;
    case PlayOption::RepeatAll: {
        const int next = audioTrackFrom(m_readTrack + 1);
        return next >= 0 ? next : audioTrackFrom(0);
    }
    case PlayOption::Random: {
        std::vector<int> audio;
        for (int i = 0; i < m_source->tracks().size(); ++i) {
            if (m_source->tracks()[i].audio)
                audio.push_back(i);
        }
        std::uniform_int_distribution<size_t> pick(0, audio.size() - 1);
        return audio[pick(m_random)];
    }
    case PlayOption::None:
        break;
    }
    return audioTrackFrom(m_readTrack + 1);
}

void CdPlayerEngine::publish() {
    CdPlayerStatus s;
    s.mode = m_mode;
    s.source = m_sourceName;
    s.discSerial = m_serial;
    if (m_source && m_mode != CdMode::NotReady && m_mode != CdMode::Open) {
        const QList<CdTrack>& tracks = m_source->tracks();
        for (const CdTrack& t : tracks) {
            s.trackFrames.append(t.end - t.start);
            s.audio.append(t.audio);
        }
        s.discFrames = m_source->leadOut() - tracks[0].start;
        const int heard = heardLsn();
        const int index = trackOf(heard);
        s.track = index + 1;
        s.trackFrame = heard - tracks[index].start;
        s.discFrame = heard - tracks[0].start;
        s.discId = m_discId;
        s.legacyCode = m_legacyCode;
    }
    std::lock_guard lock(m_statusMutex);
    m_status = s;
}
