#include "datadirectorylock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

DataDirectoryLock::DataDirectoryLock(const QString& dataDirectory) {
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

DataDirectoryLock::Result DataDirectoryLock::acquire() {
    if (isHeld())
        return Result::Locked;
    m_file = std::make_unique<QLockFile>(lockFilePath());
    // A program may keep its data open for weeks: only a holder that is gone makes a lock
    // stale, never its age.
    m_file->setStaleLockTime(0);
    const bool existed = QFileInfo::exists(lockFilePath());
    m_tookOverStale = false;
    if (m_file->tryLock(0)) {
        m_tookOverStale = existed;
        return Result::Locked;
    }
    const bool inUse = m_file->error() == QLockFile::LockFailedError;
    m_file.reset();
    return inUse ? Result::InUse : Result::NotWritable;
}

bool DataDirectoryLock::tryLock(QString* refusal) {
    const Result result = acquire();
    if (refusal && result == Result::InUse)
        *refusal = inUseText();
    else if (refusal && result == Result::NotWritable)
        *refusal = QStringLiteral("Die Sperrdatei %1 kann nicht angelegt werden.")
                       .arg(QDir::toNativeSeparators(lockFilePath()));
    return result == Result::Locked;
}

QString DataDirectoryLock::lockFilePath() const {
    return QDir(m_directory).filePath(QString::fromLatin1(kFileName));
}

void DataDirectoryLock::release() {
    if (m_file)
        m_file->unlock();
    m_file.reset();
}

bool DataDirectoryLock::isHeld() const {
    return m_file && m_file->isLocked();
}
