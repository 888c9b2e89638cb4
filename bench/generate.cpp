// Fills a new data directory with a large collection: diskarium-generate DIR [CARRIERS] [SONGS]
// [SEED]
#include "collectiongenerator.h"
#include "core/db/dataset.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    // Statistics fallbacks: --fallbacks N marks one carrier in N each way (see CollectionSize).
    int fallbackEvery = 0;
    if (const qsizetype at = args.indexOf(QStringLiteral("--fallbacks")); at >= 0) {
        fallbackEvery = args.value(at + 1).toInt();
        args.remove(at, std::min<qsizetype>(2, args.size() - at));
    }
    QTextStream err(stderr);
    if (args.isEmpty() || args.size() > 4) {
        err << "Aufruf: diskarium-generate VERZEICHNIS [TONTRÄGER=20000] [LIEDER=15] "
               "[STARTWERT=1] [--fallbacks N]\n";
        return 2;
    }
    CollectionSize size;
    if (args.size() > 1)
        size.carriers = args[1].toInt();
    if (args.size() > 2)
        size.songsPerCarrier = args[2].toInt();
    if (args.size() > 3)
        size.seed = args[3].toUInt();
    size.fallbackEvery = fallbackEvery;
    try {
        dataset::create(args[0]);
        Database db;
        db.open(dataset::databasePath(args[0]));
        generateCollection(db, size);
    } catch (const DbError& e) {
        err << "Fehler: " << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}
