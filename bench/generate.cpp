// Fills a new data directory with a large collection: diskarium-generate DIR [CARRIERS] [SONGS]
// [SEED] [--lent N] [--returned N] [--heavy-borrower N]
#include "collectiongenerator.h"
#include "core/db/dataset.h"
#include "core/db/songindex.h"

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
    // --ohne-liederindex: the songs are written without the song search index and its
    // triggers (for measuring what the index costs).
    const bool withoutSongIndex = args.removeAll(QStringLiteral("--ohne-liederindex")) > 0;
    QTextStream err(stderr);
    // Lendings: --lent N (carriers lent now), --returned N (returned lendings), --heavy-borrower N
    // (lendings of borrower 1, a fifth of them open).
    struct {
        std::optional<int> lent;
        int returned = 0, heavy = 0;
    } lending;
    for (const char* option : {"--lent", "--returned", "--heavy-borrower"}) {
        const int at = int(args.indexOf(QLatin1String(option)));
        if (at < 0)
            continue;
        const int value = at + 1 < args.size() ? args[at + 1].toInt() : -1;
        if (value < 0) {
            err << "Fehler: " << option << " braucht eine Zahl ab 0.\n";
            return 2;
        }
        args.remove(at, 2);
        if (qstrcmp(option, "--lent") == 0)
            lending.lent = value;
        else if (qstrcmp(option, "--returned") == 0)
            lending.returned = value;
        else
            lending.heavy = value;
    }
    if (args.isEmpty() || args.size() > 4) {
        err << "Aufruf: diskarium-generate VERZEICHNIS [TONTRÄGER=20000] [LIEDER=15] "
               "[STARTWERT=1] [--fallbacks N]\n";
        return 2;
    }
    CollectionSize size;
    size.lentCarriers = lending.lent;
    size.returnedLendings = lending.returned;
    size.heavyBorrowerLendings = lending.heavy;
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
