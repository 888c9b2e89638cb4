#include "datadirectorylock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Two bytes of the file are locked, never its contents: the first belongs to the one
// Program or Replace holder, the second is shared by everyone who changes data and taken
// whole by a replacement. Open-file-description locks belong to the open file, not to the
// process, so two locks within one process keep each other out as well.
constexpr off_t kOwnerByte = 0;
constexpr off_t kDataByte = 1;

bool lockByte(int fd, off_t byte, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    while (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

// Another open file holds a lock on the byte.
bool heldElsewhere(int fd, off_t byte) {
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = byte;
    probe.l_len = 1;
    return ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

bool sameFile(int fd, const QByteArray& path) {
    struct stat open {
    }, named{};
    return ::fstat(fd, &open) == 0 && ::stat(path.constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

} // namespace

DataDirectoryLock::DataDirectoryLock(const QString& dataDirectory, Mode mode) : m_mode(mode) {
    setDirectory(dataDirectory);
}

DataDirectoryLock::~DataDirectoryLock() {
    release();
}

void DataDirectoryLock::setDirectory(const QString& dataDirectory) {
    release();
    m_directory = dataDirectory;
    m_tookOverStale = false;
}

QString DataDirectoryLock::inUseText() {
    return QStringLiteral("Diskarium verwendet diese Daten gerade. Beenden Sie das Programm und "
                          "versuchen Sie es erneut.");
}

QString DataDirectoryLock::beingReplacedText() {
    return QStringLiteral("Die Daten werden gerade wiederhergestellt, übernommen oder neu "
                          "aufgebaut. Bitte versuchen Sie es gleich noch einmal.");
}

DataDirectoryLock::Result DataDirectoryLock::acquire() {
    if (isHeld())
        return Result::Locked;
    m_tookOverStale = false;
    const QByteArray path = QFile::encodeName(lockFilePath());
    // A holder that releases last removes the file; whoever opened it just before then
    // holds a lock on a file without a name and tries again.
    for (int attempt = 0; attempt < 20; ++attempt) {
        int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        const bool existed = fd < 0 && errno == EEXIST;
        if (existed)
            fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return Result::NotWritable;
        // A holder that is just releasing probes the file for a moment: that is no reason
        // to refuse.
        bool locked = false;
        int error = 0;
        for (int probe = 0; !locked && probe < 10; ++probe) {
            if (probe > 0)
                ::usleep(10000);
            locked = m_mode == Mode::Writer || lockByte(fd, kOwnerByte, F_WRLCK);
            error = errno;
            if (locked && !lockByte(fd, kDataByte, m_mode == Mode::Replace ? F_WRLCK : F_RDLCK)) {
                error = errno;
                if (m_mode != Mode::Writer)
                    lockByte(fd, kOwnerByte, F_UNLCK);
                locked = false;
            }
            if (!locked && error != EAGAIN && error != EACCES)
                break;
        }
        if (!locked) {
            ::close(fd);
            return error == EAGAIN || error == EACCES ? Result::InUse : Result::NotWritable;
        }
        if (!sameFile(fd, path)) {
            ::close(fd);
            continue;
        }
        if (m_mode != Mode::Writer) {
            // A name in the file was left by a holder that did not release it, and a file
            // nobody else holds was left by a process that ended before it could write its
            // name: either may have stopped in the middle of a change.
            struct stat st {};
            m_tookOverStale = (::fstat(fd, &st) == 0 && st.st_size > 0) ||
                              (existed && !heldElsewhere(fd, kDataByte));
            const QByteArray holder = QByteArray::number(qint64(::getpid())) + '\n' +
                                      QCoreApplication::applicationName().toUtf8() + '\n' +
                                      QSysInfo::machineHostName().toUtf8() + '\n';
            if (::ftruncate(fd, 0) != 0 ||
                ::pwrite(fd, holder.constData(), size_t(holder.size()), 0) != holder.size()) {
                ::close(fd);
                return Result::NotWritable;
            }
            ::fdatasync(fd);
        }
        m_fd = fd;
        return Result::Locked;
    }
    return Result::InUse;
}

bool DataDirectoryLock::tryLock(QString* refusal) {
    const Result result = acquire();
    // Nothing replaces data in a folder nobody may write to: a Writer goes on without.
    if (result == Result::NotWritable && m_mode == Mode::Writer)
        return true;
    if (refusal && result == Result::InUse)
        *refusal = m_mode == Mode::Writer ? beingReplacedText() : inUseText();
    else if (refusal && result == Result::NotWritable)
        *refusal = QStringLiteral("Die Sperrdatei %1 kann nicht angelegt werden.")
                       .arg(QDir::toNativeSeparators(lockFilePath()));
    return result == Result::Locked;
}

QString DataDirectoryLock::lockFilePath() const {
    return QDir(m_directory).filePath(QString::fromLatin1(kFileName));
}

void DataDirectoryLock::release() {
    if (m_fd < 0)
        return;
    struct stat st {};
    const bool empty = m_mode != Mode::Writer ? ::ftruncate(m_fd, 0) == 0
                                              : ::fstat(m_fd, &st) == 0 && st.st_size == 0;
    // The file goes only when nobody else holds it, and never while it still names a holder
    // that ended without releasing: the next program start must learn about that.
    if (empty && lockByte(m_fd, kOwnerByte, F_WRLCK) && lockByte(m_fd, kDataByte, F_WRLCK))
        ::unlink(QFile::encodeName(lockFilePath()).constData());
    ::close(m_fd);
    m_fd = -1;
}
