#include "cdtoc.h"

#include "core/common/laufzeit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <atomic>
#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cmath>
#include <memory>
#include <sys/stat.h>

namespace {

Q_LOGGING_CATEGORY(cdioLog, "diskarium.cdio", QtWarningMsg)

// libcdio's own handler prints to the terminal and ends the program on an error (a folder
// given as a disc image); its lines go to the debug log instead and the caller reports.
void routeCdioLog(cdio_log_level_t level, const char message[]) {
    if (level >= CDIO_LOG_WARN)
        qCDebug(cdioLog).noquote() << "libcdio:" << message;
    else
        qCDebug(cdioLog).noquote() << "libcdio (Debug):" << message;
}

void installCdioLog() {
    static std::atomic_bool installed = false;
    if (!installed.exchange(true)) {
        cdio_log_set_handler(routeCdioLog);
        cdio_loglevel_default = CDIO_LOG_DEBUG;
    }
}

struct CdioCloser {
    void operator()(CdIo_t* p) const { cdio_destroy(p); }
};

int digitSum(qint32 n) {
    int sum = 0;
    for (; n > 0; n /= 10)
        sum += n % 10;
    return sum;
}

// Playing time of a number of frames as a Laufzeit value; the frames below a second drop.
double lengthOf(qint32 frames) {
    return laufzeit::fromSeconds(frames / 75);
}

} // namespace

quint32 CDDiscId(const TCDToc& toc, int tracks) {
    if (tracks <= 0 || tracks > 100)
        return 0;
    quint32 sum = 0;
    for (int i = 0; i < tracks; ++i)
        sum += quint32(digitSum(toc[size_t(i)].frameOffset / 75));
    const quint32 length = quint32(toc[size_t(tracks)].frameOffset / 75 - toc[0].frameOffset / 75);
    return ((sum % 255) << 24) | ((length & 0xFFFF) << 8) | quint32(tracks);
}

qint64 legacyCode(double totalTime, int tracks) {
    const qint64 hundredths = laufzeit::toHundredths(totalTime);
    const qint64 minutes = hundredths / 100;
    const qint64 seconds = hundredths % 100;
    return qint64(tracks) * (minutes * 60 * seconds) + tracks;
}

void setCdioVerbose(bool verbose) {
    installCdioLog();
    QLoggingCategory::setFilterRules(verbose ? QStringLiteral("diskarium.cdio.debug=true")
                                             : QStringLiteral("diskarium.cdio.debug=false"));
}

QString discIdForQuery(quint32 discId) {
    return QStringLiteral("%1").arg(discId, 8, 16, QLatin1Char('0')).toUpper();
}

QString discIdForDisplay(quint32 discId) {
    return QString::number(discId, 16).toUpper();
}

namespace {
bool regularOrDrive(const QFileInfo& info, bool sheet) {
    if (!info.exists())
        return true; // the reader reports it as unreadable
    struct stat st;
    if (::stat(QFile::encodeName(info.absoluteFilePath()).constData(), &st) != 0)
        return false;
    // Shorter than one sector holds no track; the reader would still invent one from the cue sheet.
    return (S_ISREG(st.st_mode) && (sheet || st.st_size >= 2352)) || S_ISBLK(st.st_mode);
}
} // namespace

bool cdSourceOpenable(const QString& name) {
    if (name.isEmpty())
        return true;
    const QFileInfo info(name);
    const bool sheet = info.suffix().compare(QLatin1String("cue"), Qt::CaseInsensitive) == 0;
    if (!regularOrDrive(info, sheet))
        return false;
    if (!info.isFile() || !sheet)
        return true;
    QFile cue(name);
    if (!cue.open(QIODevice::ReadOnly))
        return false;
    static const QRegularExpression fileLine(
        QStringLiteral("^\\s*FILE\\s+\"?([^\"\\r\\n]*?)\"?\\s+\\S+\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    const QString text = QString::fromLocal8Bit(cue.read(1 << 20));
    for (auto it = fileLine.globalMatch(text); it.hasNext();) {
        const QString data = it.next().captured(1);
        const QFileInfo dataInfo(info.dir(), data);
        if (!regularOrDrive(dataInfo, false) || (dataInfo.exists() && !dataInfo.isFile()))
            return false;
    }
    return true;
}

qint64 ReadCDToc(int cdNumber, const QString& drive, QList<TCDList>* list, CdTocResult& result) {
    result = CdTocResult();
    installCdioLog();
    if (!cdSourceOpenable(drive))
        return -1;
    const QByteArray source = QFile::encodeName(drive);
    std::unique_ptr<CdIo_t, CdioCloser> cd(
        cdio_open(drive.isEmpty() ? nullptr : source.constData(), DRIVER_UNKNOWN));
    if (!cd)
        return -1;
    const discmode_t mode = cdio_get_discmode(cd.get());
    if (mode == CDIO_DISC_MODE_NO_INFO || mode == CDIO_DISC_MODE_ERROR)
        return -1;
    const track_t first = cdio_get_first_track_num(cd.get());
    const track_t count = cdio_get_num_tracks(cd.get());
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0 || count > 100)
        return -1;

    const int tracks = int(count);
    for (int i = 0; i < tracks; ++i) {
        const lsn_t start = cdio_get_track_lsn(cd.get(), track_t(first + i));
        // A track before the first sector lies in the lead-in: a sheet without its index.
        if (start == CDIO_INVALID_LSN || start < 0)
            return -1;
        result.toc[size_t(i)] = TCDTocEntry::fromFrames(qint32(start) + CDIO_PREGAP_SECTORS);
    }
    const lsn_t leadOut = cdio_get_track_lsn(cd.get(), CDIO_CDROM_LEADOUT_TRACK);
    if (leadOut == CDIO_INVALID_LSN || leadOut <= 0)
        return -1;
    result.toc[size_t(tracks)] = TCDTocEntry::fromFrames(qint32(leadOut) + CDIO_PREGAP_SECTORS);
    // An empty or cut-off image yields a lead-out before the tracks it ends.
    for (int i = 0; i < tracks; ++i)
        if (result.toc[size_t(i + 1)].frameOffset <= result.toc[size_t(i)].frameOffset)
            return -1;

    for (int i = 0; i < tracks; ++i) {
        const double length =
            lengthOf(result.toc[size_t(i + 1)].frameOffset - result.toc[size_t(i)].frameOffset);
        const bool audio =
            cdio_get_track_format(cd.get(), track_t(first + i)) == TRACK_FORMAT_AUDIO;
        result.totalTime = laufzeit::add(result.totalTime, length);
        result.hasAudio = result.hasAudio || audio;
        if (list)
            list->append({qint16(cdNumber), audio, length});
    }
    result.tracks = tracks;
    result.leadOutSeconds = result.toc[size_t(tracks)].frameOffset / 75;
    result.discId = CDDiscId(result.toc, tracks);
    return legacyCode(result.totalTime, tracks);
}
