// Creating a large collection, opening it with the start-up checks, and rebuilding all
// indexes. Prints one line per measurement: name, median and best of the runs, in ms.
#include "collectiongenerator.h"
#include "core/db/dataset.h"
#include "core/db/startupchecks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

class SilentMessages : public MessageService {
public:
    MessageButton show(const Message&) override { return MessageButton::Ok; }
    QString chooseOpenFile(const FileChoice&) override { return {}; }
    QString chooseSaveFile(const FileChoice&) override { return {}; }
};

void measure(const char* name, int runs, const std::function<void()>& body) {
    std::vector<qint64> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        body();
        times.push_back(timer.elapsed());
    }
    std::sort(times.begin(), times.end());
    QTextStream(stdout) << QStringLiteral("%1  median %2 ms  best %3 ms  (%4 runs)")
                               .arg(QLatin1String(name), -40)
                               .arg(times[times.size() / 2])
                               .arg(times.front())
                               .arg(runs)
                        << Qt::endl;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    CollectionSize size;
    if (argc > 1)
        size.carriers = QString::fromLocal8Bit(argv[1]).toInt();
    QTextStream(stdout) << "Sammlung: " << size.carriers << " Tonträger mit je "
                        << size.songsPerCarrier << " Liedern" << Qt::endl;
    SilentMessages messages;
    QTemporaryDir dir;
    int created = 0;
    measure("create data set and collection", 3, [&] {
        QTemporaryDir fresh;
        dataset::create(fresh.path());
        Database db;
        db.open(dataset::databasePath(fresh.path()));
        generateCollection(db, size);
        ++created;
    });
    dataset::create(dir.path());
    {
        Database db;
        db.open(dataset::databasePath(dir.path()));
        generateCollection(db, size);
    }
    measure("open database", 10, [&] {
        Database db;
        db.open(dataset::databasePath(dir.path()));
        db.scalar(u"SELECT COUNT(*) FROM \"MUSIKKOP\"");
    });
    measure("open with start-up checks", 5, [&] {
        Database db;
        db.open(dataset::databasePath(dir.path()));
        startupchecks::checkDataFiles(db, messages);
        startupchecks::checkAndRebuildIndexes(db, false, messages);
        startupchecks::checkAndUpgradeFormats(db, messages);
    });
    measure("REINDEX of all tables", 3, [&] {
        Database db;
        db.open(dataset::databasePath(dir.path()));
        startupchecks::checkAndRebuildIndexes(db, true, messages);
    });
    return created == 3 ? 0 : 1;
}
