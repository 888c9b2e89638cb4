// Backup and restore of a large data directory against gzip -1 and gzip -dc on the same
// bytes, in the same run: diskarium-bench-backup [CARRIERS=120000] (about 200 MB). The
// backup is the program's own (copy, archive, check); two other ways are shown beside it.
#include "collectiongenerator.h"
#include "core/backup/backupfile.h"
#include "core/backup/databackup.h"
#include "core/db/dataset.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

qint64 medianMs(int runs, const std::function<void()>& body) {
    std::vector<qint64> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        body();
        times.push_back(t.elapsed());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void shell(const QString& command) {
    QProcess p;
    p.start(QStringLiteral("bash"), {QStringLiteral("-c"), command});
    p.waitForFinished(-1);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    CollectionSize size;
    size.carriers = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 120000;
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("daten"));
    dataset::create(data);
    {
        Database db;
        db.open(dataset::databasePath(data));
        generateCollection(db, size);
    }
    const QStringList files = {QDir(data).filePath(QStringLiteral("WinDsKm.db"))};
    const qint64 bytes = QFileInfo(files.first()).size();
    out << "Datenverzeichnis: " << bytes / (1024 * 1024) << " MB (" << size.carriers
        << " Tonträger)" << Qt::endl;

    const QString archive = dir.filePath(QStringLiteral("s.bck"));
    const QString gz = dir.filePath(QStringLiteral("s.gz"));
    const QString target = dir.filePath(QStringLiteral("ziel"));
    TBackupFile component;
    databackup::configure(component);
    // What the program does: a consistent copy through SQLite, archived and then checked.
    const qint64 backupMs =
        medianMs(3, [&] { databackup::backupDataDirectory(component, data, archive); });
    const int rate = component.compressionRate();
    // The other way to a consistent archive: the file's own bytes read under one read
    // transaction held for the whole run (writers wait meanwhile), checked on that snapshot.
    const qint64 heldMs = medianMs(3, [&] {
        Database db;
        db.open(files.first());
        db.exec(u"BEGIN; SELECT count(*) FROM sqlite_schema;");
        component.backup(databackup::patterns(data), archive);
        db.scalar(u"PRAGMA quick_check");
        db.exec(u"COMMIT");
    });
    const qint64 plainMs =
        medianMs(3, [&] { component.backup(databackup::patterns(data), archive); });
    const qint64 gzipMs = medianMs(
        3, [&] { shell(QStringLiteral("cat '%1' | gzip -1 > '%2'").arg(files.first(), gz)); });
    const qint64 restoreMs = medianMs(3, [&] { component.restore(archive, target); });
    const qint64 gunzipMs =
        medianMs(3, [&] { shell(QStringLiteral("gzip -dc '%1' > '%2/gz.out'").arg(gz, target)); });

    out << QStringLiteral("backup   %1 ms   gzip -1   %2 ms   Verhältnis %3 (Ziel <= 1,2)")
               .arg(backupMs)
               .arg(gzipMs)
               .arg(double(backupMs) / double(std::max<qint64>(gzipMs, 1)), 0, 'f', 2)
        << Qt::endl;
    out << QStringLiteral("  andere Wege: Lesesperre gehalten %1 ms (Verhältnis %2), "
                          "ohne Schnappschuss und Prüfung %3 ms (Verhältnis %4)")
               .arg(heldMs)
               .arg(double(heldMs) / double(std::max<qint64>(gzipMs, 1)), 0, 'f', 2)
               .arg(plainMs)
               .arg(double(plainMs) / double(std::max<qint64>(gzipMs, 1)), 0, 'f', 2)
        << Qt::endl;
    out << QStringLiteral("restore  %1 ms   gzip -dc  %2 ms   Verhältnis %3 (Ziel <= 1,5)")
               .arg(restoreMs)
               .arg(gunzipMs)
               .arg(double(restoreMs) / double(std::max<qint64>(gunzipMs, 1)), 0, 'f', 2)
        << Qt::endl;
    out << QStringLiteral("Archiv %1 MB, gzip %2 MB, Kompressionsrate %3%")
               .arg(QFileInfo(archive).size() / (1024 * 1024))
               .arg(QFileInfo(gz).size() / (1024 * 1024))
               .arg(rate)
        << Qt::endl;
    return 0;
}
