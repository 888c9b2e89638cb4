// Process start to a usable main window with a generated collection, with and without
// REINDEX: diskarium-bench-startup [CARRIERS=20000] [RUNS=5]
#include "collectiongenerator.h"
#include "core/db/dataset.h"
#include "core/settings/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    CollectionSize size;
    size.carriers = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;
    const int runs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 5;
    QTemporaryDir dir;
    dataset::create(dir.path());
    {
        Database db;
        db.open(dataset::databasePath(dir.path()));
        generateCollection(db, size);
    }
    Settings settings;
    settings.showTip = false; // the tips dialog would wait for a click
    settingsfile::write(QDir(dir.path()).filePath(QString::fromLatin1(settingsfile::kFileName)),
                        settings);
    const QString probe = QDir(QCoreApplication::applicationDirPath())
                              .filePath(QStringLiteral("diskarium-startup-probe"));
    QTextStream out(stdout);
    out << "Sammlung: " << size.carriers << " Tonträger, " << runs << " Starts je Messung"
        << Qt::endl;
    for (const bool reindex : {false, true}) {
        std::vector<qint64> times;
        for (int i = 0; i < runs; ++i) {
            QProcess process;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
                env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            process.setProcessEnvironment(env);
            QStringList args = {dir.path()};
            if (reindex)
                args.append(QStringLiteral("REINDEX"));
            QElapsedTimer timer;
            timer.start();
            process.start(probe, args);
            process.waitForFinished(120000);
            times.push_back(timer.elapsed());
            if (process.exitCode() != 0)
                out << "Start fehlgeschlagen: " << process.readAllStandardError() << Qt::endl;
        }
        std::sort(times.begin(), times.end());
        out << (reindex ? "mit REINDEX:  " : "ohne REINDEX: ") << "Median "
            << times[times.size() / 2] << " ms, bester " << times.front() << " ms" << Qt::endl;
    }
    return 0;
}
