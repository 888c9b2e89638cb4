#include "console.h"

#include "core/db/database.h"
#include "core/db/dataset.h"
#include "core/shell/datadirectorylock.h"

#include <QDir>
#include <QFile>

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

int fail(const QString& message) {
    err() << "Fehler: " << message << Qt::endl;
    return 1;
}

QString tabCell(QString text) {
    for (QChar& c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    }
    return text;
}

QString tabRow(const QStringList& cells) {
    return cells.join(QLatin1Char('\t'));
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

bool openDataSetForWriting(const QString& directory, DataDirectoryLock& lock, Database& db) {
    if (!dataset::exists(directory))
        return openDataSet(directory, db);
    QString refusal;
    if (!lock.tryLock(&refusal)) {
        err() << "Fehler: " << refusal << Qt::endl;
        return false;
    }
    return openDataSet(directory, db);
}

Settings dataSetSettings(const QString& directory) {
    return settingsfile::read(
        QDir(directory).filePath(QString::fromLatin1(settingsfile::kFileName)));
}

int writeToStandardOutput(const std::function<bool(QIODevice*)>& write) {
    out().flush();
    QFile output;
    const QString refused = QStringLiteral("Die Standardausgabe kann nicht beschrieben werden.");
    if (!output.open(stdout, QIODevice::WriteOnly)) {
        err() << "Fehler: " << refused << Qt::endl;
        return 1;
    }
    try {
        if (!write(&output) || !output.flush()) {
            err() << "Fehler: " << refused << Qt::endl;
            return 1;
        }
    } catch (const DbError& e) {
        output.flush();
        err() << "Fehler: " << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}
