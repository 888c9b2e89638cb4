#include "pcmring.h"

#include <algorithm>
#include <cstring>

PcmRing::PcmRing(int sectors)
    : m_data(size_t(sectors) * pcm::kSectorBytes), m_lsns(size_t(sectors), -1) {}

int PcmRing::freeSectors() const {
    std::lock_guard lock(m_mutex);
    return int(m_lsns.size()) - m_count;
}

bool PcmRing::isEmpty() const {
    std::lock_guard lock(m_mutex);
    return m_count == 0;
}

void PcmRing::push(int lsn, const char* sector) {
    std::lock_guard lock(m_mutex);
    const int slotCount = int(m_lsns.size());
    if (m_count == slotCount)
        return;
    const int slot = (m_head + m_count) % slotCount;
    std::memcpy(m_data.data() + size_t(slot) * pcm::kSectorBytes, sector, pcm::kSectorBytes);
    m_lsns[size_t(slot)] = lsn;
    ++m_count;
}

void PcmRing::clear() {
    std::lock_guard lock(m_mutex);
    m_head = 0;
    m_count = 0;
    m_offset = 0;
    m_lastLsn = -1;
}

int PcmRing::lastTakenLsn() const {
    std::lock_guard lock(m_mutex);
    return m_lastLsn;
}

qint64 PcmRing::readPcm(char* data, qint64 maxSize) {
    std::lock_guard lock(m_mutex);
    const int slotCount = int(m_lsns.size());
    qint64 done = 0;
    while (done < maxSize && m_count > 0) {
        const qint64 n = std::min<qint64>(maxSize - done, pcm::kSectorBytes - m_offset);
        std::memcpy(data + done, m_data.data() + size_t(m_head) * pcm::kSectorBytes + m_offset,
                    size_t(n));
        m_lastLsn = m_lsns[size_t(m_head)];
        done += n;
        m_offset += int(n);
        if (m_offset == pcm::kSectorBytes) {
            m_offset = 0;
            m_head = (m_head + 1) % slotCount;
            --m_count;
        }
    }
    return done;
}
