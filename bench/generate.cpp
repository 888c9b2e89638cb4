// Fills a new data directory with a large collection: diskarium-generate DIR [CARRIERS] [SONGS]
// [SEED]
#include "collectiongenerator.h"
#include "core/db/dataset.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream err(stderr);
    if (args.isEmpty() || args.size() > 4) {
        err << "Aufruf: diskarium-generate VERZEICHNIS [TONTRÄGER=20000] [LIEDER=15] "
               "[STARTWERT=1]\n";
        return 2;
    }
    CollectionSize size;
    if (args.size() > 1)
        size.carriers = args[1].toInt();
    if (args.size() > 2)
        size.songsPerCarrier = args[2].toInt();
    if (args.size() > 3)
        size.seed = args[3].toUInt();
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
