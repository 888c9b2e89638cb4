#include "atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace atomicfile {

namespace {

bool writeAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace

QString causeText(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Auf dem Datenträger ist nicht genug Platz");
    case EACCES:
    case EPERM:
        return QStringLiteral("Der Zugriff wurde verweigert");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Der Ordner ist nicht vorhanden");
    case EISDIR:
        return QStringLiteral("Unter diesem Namen liegt ein Ordner");
    case EIO:
        return QStringLiteral("Der Datenträger meldet einen Lesefehler oder Schreibfehler");
    default:
        return QStringLiteral("Fehler %1 des Betriebssystems").arg(error);
    }
}

QString failureText(const QString& path, const QString& cause) {
    return QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2. Eine vorhandene Datei "
                          "bleibt unverändert.")
        .arg(QDir::toNativeSeparators(path), cause);
}

bool write(const QString& path, const QByteArray& content, QString* error) {
    Stream stream(path);
    if (!stream.open(error))
        return false;
    stream.write(content); // a failed write is reported by commit, with its cause
    return stream.commit(error);
}

Stream::Stream(QString path) : m_path(std::move(path)) {}

Stream::~Stream() {
    cancel();
}

bool Stream::fail(int cause, QString* error) {
    cancel();
    if (error)
        *error = failureText(m_path, causeText(cause));
    return false;
}

bool Stream::open(QString* error) {
    const QFileInfo target(m_path);
    if (target.isDir())
        return fail(EISDIR, error);
    // A link keeps pointing where it did: the file it names is the one replaced.
    m_finalPath = target.isSymLink() ? target.symLinkTarget() : m_path;
    m_finalName = QFile::encodeName(m_finalPath);
    // A file the user made read-only stays as it is.
    if (target.exists() && ::access(m_finalName.constData(), W_OK) != 0) {
        if (error)
            *error = failureText(m_path, QStringLiteral("Die Datei ist schreibgeschützt"));
        return false;
    }
    m_tempName =
        QFile::encodeName(QFileInfo(m_finalPath)
                              .absoluteDir()
                              .filePath(QLatin1Char('.') + QFileInfo(m_finalPath).fileName() +
                                        QStringLiteral(".XXXXXX")));
    m_fd = ::mkstemp(m_tempName.data());
    if (m_fd < 0) {
        const int cause = errno;
        m_tempName.clear(); // no file of ours to remove
        return fail(cause, error);
    }
    struct stat old {};
    const bool replaces = ::stat(m_finalName.constData(), &old) == 0;
    // A new file gets what the user's umask allows; a replaced one keeps its permissions.
    mode_t mode = 0666;
    if (replaces) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(m_fd, mode) != 0 && errno != EPERM)
        return fail(errno, error);
    return true;
}

bool Stream::write(const char* data, qint64 size) {
    if (m_fd < 0 || m_failure != 0)
        return false;
    if (!writeAll(m_fd, data, size)) {
        m_failure = errno;
        return false;
    }
    return true;
}

bool Stream::commit(QString* error) {
    if (m_fd < 0)
        return fail(m_failure != 0 ? m_failure : EIO, error);
    bool ok = m_failure == 0 && ::fsync(m_fd) == 0;
    int failure = m_failure != 0 ? m_failure : (ok ? 0 : errno);
    if (::close(m_fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    m_fd = -1;
    if (ok && ::rename(m_tempName.constData(), m_finalName.constData()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok)
        return fail(failure, error);
    m_tempName.clear();
    // The new name itself must survive a power cut as well.
    const QByteArray folder = QFile::encodeName(QFileInfo(m_finalPath).absolutePath());
    if (const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void Stream::cancel() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempName.isEmpty()) {
        ::unlink(m_tempName.constData());
        m_tempName.clear();
    }
}

File::File(QString path) : m_path(std::move(path)), m_buffer(&m_bytes) {
    m_buffer.open(QIODevice::WriteOnly);
}

bool File::commit(QString* error) {
    m_buffer.close();
    return write(m_path, m_bytes, error);
}

} // namespace atomicfile
