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

QString failureText(const QString& path, const QString& cause) {
    return QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2. Eine vorhandene Datei "
                          "bleibt unverändert.")
        .arg(QDir::toNativeSeparators(path), cause);
}

bool write(const QString& path, const QByteArray& content, QString* error) {
    const QFileInfo target(path);
    if (target.isDir()) {
        if (error)
            *error = failureText(path, causeText(EISDIR));
        return false;
    }
    // A link keeps pointing where it did: the file it names is the one replaced.
    const QString finalPath = target.isSymLink() ? target.symLinkTarget() : path;
    const QByteArray finalName = QFile::encodeName(finalPath);
    // A file the user made read-only stays as it is.
    if (target.exists() && ::access(finalName.constData(), W_OK) != 0) {
        if (error)
            *error = failureText(path, QStringLiteral("Die Datei ist schreibgeschützt"));
        return false;
    }
    QByteArray tempName = QFile::encodeName(QFileInfo(finalPath).absoluteDir().filePath(
        QLatin1Char('.') + QFileInfo(finalPath).fileName() + QStringLiteral(".XXXXXX")));
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0) {
        if (error)
            *error = failureText(path, causeText(errno));
        return false;
    }
    struct stat old {};
    const bool replaces = ::stat(finalName.constData(), &old) == 0;
    // A new file gets what the user's umask allows; a replaced one keeps its permissions.
    mode_t mode = 0666;
    if (replaces) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0 || errno == EPERM;
    ok = ok && writeAll(fd, content.constData(), content.size());
    ok = ok && ::fsync(fd) == 0;
    int failure = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && ::rename(tempName.constData(), finalName.constData()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        ::unlink(tempName.constData());
        if (error)
            *error = failureText(path, causeText(failure));
        return false;
    }
    // The new name itself must survive a power cut as well.
    const QByteArray folder = QFile::encodeName(QFileInfo(finalPath).absolutePath());
    if (const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

File::File(QString path) : m_path(std::move(path)), m_buffer(&m_bytes) {
    m_buffer.open(QIODevice::WriteOnly);
}

bool File::commit(QString* error) {
    m_buffer.close();
    return write(m_path, m_bytes, error);
}

} // namespace atomicfile
