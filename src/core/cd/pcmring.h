#pragma once

#include "pcmsink.h"

#include <mutex>
#include <vector>

// A ring of whole sectors between the reader and the sink. Each sector keeps its disc
// position, so the position heard follows what the sink has taken, not what was read.
class PcmRing : public PcmSource {
public:
    explicit PcmRing(int sectors);

    int freeSectors() const;
    bool isEmpty() const;
    // Appends one sector; the caller has made sure there is room.
    void push(int lsn, const char* sector);
    // Drops everything not yet taken.
    void clear();
    // The sector the sink took its last bytes from, or -1 since the last clear.
    int lastTakenLsn() const;

    qint64 readPcm(char* data, qint64 maxSize) override;

private:
    mutable std::mutex m_mutex;
    std::vector<char> m_data;
    std::vector<int> m_lsns;
    int m_head = 0;   // the slot being taken from
    int m_count = 0;  // filled slots
    int m_offset = 0; // bytes taken of the head slot
    int m_lastLsn = -1;
};
