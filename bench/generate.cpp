// Fills a new data directory with a large collection: diskarium-generate DIR [CARRIERS] [SONGS]
// [SEED]
#include "collectiongenerator.h"
#include "core/db/dataset.h"
#include "core/db/songindex.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    // --ohne-liederindex: the songs are written without the song search index and its
    // triggers (for measuring what the index costs).
    const bool withoutSongIndex = args.removeAll(QStringLiteral("--ohne-liederindex")) > 0;
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
        // Building the index once at the end is several times faster than keeping it in
        // step with every song written.
        songindex::drop(db);
        generateCollection(db, size);
        if (!withoutSongIndex)
            songindex::rebuild(db);
    } catch (const DbError& e) {
        err << "Fehler: " << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}
