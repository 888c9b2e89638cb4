#include "cdsource.h"

#include "cdtoc.h"
#include "pcmsink.h"

#include <QFile>
#include <QFileInfo>
#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/mmc_ll_cmds.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#include <cstring>
#include <mutex>

namespace {

// Through the image drivers: the bytes as stored, a short file is a read error.
class ImageSource : public CdSource {
public:
    explicit ImageSource(CdIo_t* cd) : CdSource(cd) {}
    bool isImage() const override { return true; }
    bool read(int lsn, int count, char* data) override {
        // One sector at a time: a read that runs past the end of a short file reports
        // success for the part it found and leaves the rest of the buffer as it was.
        for (int i = 0; i < count; ++i) {
            if (cdio_read_audio_sectors(m_cd, data + qsizetype(i) * pcm::kSectorBytes, lsn + i,
                                        1) != DRIVER_OP_SUCCESS)
                return false;
        }
        return true;
    }
};

// The paranoia callback has no user data; reading happens on one thread per source.
thread_local bool t_sectorLost = false;

void noteParanoia(long, paranoia_cb_mode_t mode) {
    if (mode == PARANOIA_CB_SKIP || mode == PARANOIA_CB_READERR)
        t_sectorLost = true;
}

class DriveSource : public CdSource {
public:
    explicit DriveSource(CdIo_t* cd) : CdSource(cd) {}
    ~DriveSource() override { release(); }

    bool isImage() const override { return false; }

    bool start() {
        m_drive = cdio_cddap_identify_cdio(m_cd, CDDA_MESSAGE_FORGETIT, nullptr);
        if (!m_drive || cdio_cddap_open(m_drive) != 0)
            return false;
        m_paranoia = cdio_paranoia_init(m_drive);
        if (!m_paranoia)
            return false;
        // Full checking, but a sector that cannot be repaired is given up rather than
        // retried for ever: playback must go on.
        cdio_paranoia_modeset(m_paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
        // Opening the device may lock the door; the drive's own eject button must work.
        mmc_prevent_allow_medium_removal(m_cd, false, false, 2000);
        return true;
    }

    bool read(int lsn, int count, char* data) override {
        if (lsn != m_next) {
            cdio_paranoia_seek(m_paranoia, lsn, SEEK_SET);
            m_next = lsn;
        }
        int hardErrors = 0;
        for (int i = 0; i < count; ++i) {
            t_sectorLost = false;
            const int16_t* sector = cdio_paranoia_read_limited(m_paranoia, noteParanoia, 5);
            char* out = data + qsizetype(i) * pcm::kSectorBytes;
            if (!sector) {
                ++hardErrors;
                std::memset(out, 0, pcm::kSectorBytes);
            } else if (t_sectorLost) {
                // A sector that could not be repaired plays as silence, never as noise.
                std::memset(out, 0, pcm::kSectorBytes);
                ++hardErrors;
            } else {
                std::memcpy(out, sector, pcm::kSectorBytes);
                hardErrors = 0;
            }
            ++m_next;
        }
        // A whole run of unreadable sectors means the disc cannot be read.
        return hardErrors < count || count < 8;
    }

    bool discUnchanged() override { return cdio_get_media_changed(m_cd) != 1; }

    void eject() override {
        release();
        cdio_eject_media(&m_cd);
    }

private:
    void release() {
        if (m_paranoia)
            cdio_paranoia_free(m_paranoia);
        m_paranoia = nullptr;
        if (m_drive)
            cdio_cddap_close_no_free_cdio(m_drive);
        m_drive = nullptr;
    }

    cdrom_drive_t* m_drive = nullptr;
    cdrom_paranoia_t* m_paranoia = nullptr;
    int m_next = -1;
};

// The library's warnings about unusual images would only clutter the console.
void quietLog(cdio_log_level_t level, const char* message) {
    if (level >= CDIO_LOG_ERROR)
        cdio_default_log_handler(level, message);
}

} // namespace

CdSource::CdSource(CdIo_t* cd) : m_cd(cd) {}

CdSource::~CdSource() {
    if (m_cd)
        cdio_destroy(m_cd);
}

bool CdSource::readToc() {
    const track_t first = cdio_get_first_track_num(m_cd);
    const track_t count = cdio_get_num_tracks(m_cd);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0 || count > 100)
        return false;
    const lsn_t leadOut = cdio_get_track_lsn(m_cd, CDIO_CDROM_LEADOUT_TRACK);
    if (leadOut == CDIO_INVALID_LSN)
        return false;
    m_leadOut = int(leadOut);
    for (int i = 0; i < int(count); ++i) {
        const track_t t = track_t(first + i);
        const lsn_t start = cdio_get_track_lsn(m_cd, t);
        if (start == CDIO_INVALID_LSN)
            return false;
        m_tracks.append({int(start), 0, cdio_get_track_format(m_cd, t) == TRACK_FORMAT_AUDIO});
    }
    for (int i = 0; i < m_tracks.size(); ++i)
        m_tracks[i].end = i + 1 < m_tracks.size() ? m_tracks[i + 1].start : m_leadOut;
    return true;
}

std::unique_ptr<CdSource> CdSource::open(const QString& name) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { cdio_log_set_handler(quietLog); });
    if (!cdSourceOpenable(name))
        return nullptr;
    const QByteArray path = QFile::encodeName(name);
    const bool image = QFileInfo(name).isFile();
    CdIo_t* cd = cdio_open(path.constData(), DRIVER_UNKNOWN);
    if (!cd)
        return nullptr;
    std::unique_ptr<CdSource> source;
    if (image) {
        source = std::make_unique<ImageSource>(cd);
    } else {
        auto drive = std::make_unique<DriveSource>(cd);
        const discmode_t mode = cdio_get_discmode(cd);
        if (mode == CDIO_DISC_MODE_NO_INFO || mode == CDIO_DISC_MODE_ERROR || !drive->start())
            return nullptr;
        source = std::move(drive);
    }
    if (!source->readToc())
        return nullptr;
    return source;
}

void cddoor::close(const QString& drive) {
    const QByteArray path = QFile::encodeName(drive);
    cdio_close_tray(path.constData(), nullptr);
}
