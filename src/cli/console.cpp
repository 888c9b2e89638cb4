#include "console.h"

#include "core/db/database.h"
#include "core/db/dataset.h"

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

bool openDataSet(const QString& directory, Database& db) {
    if (!dataset::exists(directory)) {
        err() << "Fehler: In " << directory << " liegt kein Datenbestand." << Qt::endl;
        return false;
    }
    try {
        db.open(dataset::databasePath(directory));
    } catch (const DbError& e) {
        err() << "Fehler: " << e.message() << Qt::endl;
        return false;
    }
    return true;
}
