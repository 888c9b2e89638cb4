// Process start to a usable main window with generated collections of growing size, beside a
// bare Qt window; a forced REINDEX on the smallest; and what telling "no carriers" from
// "some" costs at each size: diskarium-bench-startup [SIZES=20000,100000,1000000] [RUNS=5]
#include "collectiongenerator.h"
#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/db/schema.h"
#include "core/settings/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

qint64 median(std::vector<qint64> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct StartFigures {
    qint64 medianMs = 0;
    qint64 medianCpuMs = 0;  // less swayed by other load on the machine than the wall time
    qint64 peakMemoryKb = 0; // the largest of the runs
};

// Median wall time from process start to its end, and peak memory.
StartFigures measureStart(const QStringList& args, int runs) {
    const QString probe = QDir(QCoreApplication::applicationDirPath())
                              .filePath(QStringLiteral("diskarium-startup-probe"));
    std::vector<qint64> times, cpu;
    qint64 peak = 0;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        process.start(probe, args);
        process.waitForFinished(600000);
        times.push_back(timer.elapsed());
        if (process.exitCode() != 0)
            out() << "Start fehlgeschlagen: " << process.readAllStandardError() << Qt::endl;
        const QList<QByteArray> figures = process.readAllStandardOutput().trimmed().split(' ');
        peak = std::max(peak, figures.value(0).toLongLong());
        cpu.push_back(figures.value(1).toLongLong());
    }
    return {median(times), median(cpu), peak};
}

QString describe(const StartFigures& f) {
    return QStringLiteral("%1 ms (Prozessorzeit %2 ms, %3 MB)")
        .arg(f.medianMs)
        .arg(f.medianCpuMs)
        .arg(f.peakMemoryKb / 1024);
}

// Median of a query's time in microseconds, on a connection opened once.
qint64 medianQueryUs(const std::function<void()>& query) {
    std::vector<qint64> times;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        query();
        times.push_back(t.nsecsElapsed() / 1000);
    }
    return median(times);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QList<int> sizes = {20000, 100000, 1000000};
    if (argc > 1) {
        sizes.clear();
        for (const QString& s : QString::fromLocal8Bit(argv[1]).split(QLatin1Char(',')))
            sizes.append(s.toInt());
    }
    const int runs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 5;
    out() << "Starts je Messung: " << runs << " (Median)" << Qt::endl;
    out() << "leeres Qt-Fenster: " << describe(measureStart({QStringLiteral("--bare")}, runs))
          << Qt::endl;
    for (const int carriers : sizes) {
        // One collection at a time: the largest takes about 2 GB.
        QTemporaryDir dir;
        CollectionSize size;
        size.carriers = carriers;
        QElapsedTimer generation;
        generation.start();
        dataset::create(dir.path());
        qint64 countUs = 0, existsUs = 0;
        {
            Database db;
            db.open(dataset::databasePath(dir.path()));
            generateCollection(db, size);
            const schema::Table& table = schema::table(u"MUSIKKOP");
            countUs = medianQueryUs([&] { records::count(db, table); });
            existsUs = medianQueryUs([&] { records::hasRows(db, table); });
        }
        const qint64 generated = generation.elapsed();
        Settings settings;
        settings.showTip = false; // the tips dialog would wait for a click
        settingsfile::write(QDir(dir.path()).filePath(QString::fromLatin1(settingsfile::kFileName)),
                            settings);
        out() << QStringLiteral("%1 Tonträger: Start %2")
                     .arg(carriers, 9)
                     .arg(describe(measureStart({dir.path()}, runs)));
        if (carriers == sizes.first())
            out() << ", mit REINDEX "
                  << describe(measureStart({dir.path(), QStringLiteral("REINDEX")}, runs));
        out() << QStringLiteral("; Tonträger zählen %1 µs, vorhanden? %2 µs (erzeugt in %3 s)")
                     .arg(countUs)
                     .arg(existsUs)
                     .arg(generated / 1000)
              << Qt::endl;
    }
    return 0;
}
