// Feeds arbitrary bytes to the archive reader as a restore from a stream, and to the listing
// from a file. Whatever the input, the readers must not crash and must not write outside
// their target directory.
#include "core/backup/archivelisting.h"
#include "core/backup/backupfile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
QTemporaryDir* workspace = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    workspace = new QTemporaryDir();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QString target = workspace->filePath(QStringLiteral("target"));
    TBackupFile component;
    component.setStream(&buffer);
    component.OnNeedDisk = [](int, bool& cont) { cont = false; };
    component.OnError = [](int, const QString&, const QString&) {};
    component.restore(TBackupFile::kStreamPath, target);
    component.setRestoreFullPath(true);
    buffer.seek(0);
    component.restore(TBackupFile::kStreamPath, target);
    // Only the target directory may have appeared.
    const QStringList beside =
        QDir(workspace->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    if (beside.size() > 1 || (beside.size() == 1 && beside.first() != QLatin1String("target")))
        std::abort();
    QDir(target).removeRecursively();
    // The listing reads volumes by path. The same bytes as a second volume let a marker name
    // a volume that names itself again, which must end all the same.
    const QString archive = workspace->filePath(QStringLiteral("a.bck"));
    const QString second = TBackupFile::volumePath(archive, 2);
    for (const QString& path : {archive, second}) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    listArchive(archive);
    QFile::remove(archive);
    QFile::remove(second);
    return 0;
}
