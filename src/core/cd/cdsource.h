#pragma once

#include <QList>
#include <QString>
#include <memory>

struct _CdIo;
typedef struct _CdIo CdIo_t;

// One track of an opened disc, in sectors (logical sector numbers, track 1 usually at 0).
struct CdTrack {
    int start = 0;
    int end = 0; // one past the last sector
    bool audio = false;
};

// Where the player reads audio sectors: a disc image through libcdio's image drivers, or a
// drive through the paranoia reader, which repairs what it can.
class CdSource {
public:
    virtual ~CdSource();

    // Opens an image file (.cue, .toc, .nrg) or a drive ("/dev/sr0"); nullptr when there is
    // no readable disc.
    static std::unique_ptr<CdSource> open(const QString& name);

    const QList<CdTrack>& tracks() const { return m_tracks; }
    int leadOut() const { return m_leadOut; }
    virtual bool isImage() const = 0;

    // Reads count sectors from lsn on into data (count * 2352 bytes). False when the disc
    // cannot be read there.
    virtual bool read(int lsn, int count, char* data) = 0;
    // True while the disc is still the one opened.
    virtual bool discUnchanged() { return true; }
    virtual void eject() {}

protected:
    explicit CdSource(CdIo_t* cd);
    bool readToc();

    CdIo_t* m_cd = nullptr;
    QList<CdTrack> m_tracks;
    int m_leadOut = 0;
};

// Opens the door of a drive and closes it again.
namespace cddoor {
void close(const QString& drive);
}
