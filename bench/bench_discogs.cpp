// The Discogs collection CSV both ways:
//
//   diskarium-bench-discogs DATENVERZEICHNIS
//
// Import: generated collection files of 1,000 and 10,000 rows, each imported into a new
// data set in a child process of its own, so that its time and peak memory are its own
// (goal: 10,000 rows within 2 s, at most 10 MB more than 1,000 rows). Export: the tool's
// export-discogs of the data set in DATENVERZEICHNIS (diskarium-generate DIR 100000 15 1)
// against the sqlite3 shell's ".mode csv" of the same SELECT (goal: at most 1.5 times).
#include "core/catalogue/carrierorigins.h"
#include "core/catalogue/discogsexport.h"
#include "core/catalogue/discogsimport.h"
#include "core/db/database.h"
#include "core/db/dataset.h"
#include "core/settings/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <sys/resource.h>

namespace {

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

// A collection file as Discogs writes it, with every kind of field filled.
void writeCollection(const QString& path, int rows) {
    static const char* const formats[] = {"\"2xLP, Album, RE\"", "\"7\"\", Single\"",
                                          "\"12\"\", Maxi\"",    "\"CD, Album\"",
                                          "\"Cass, Album\"",     "\"7\"\", EP\""};
    static const char* const grades[] = {"Mint (M)", "Near Mint (NM or M-)", "Very Good Plus (VG+)",
                                         "Good (G)"};
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("%s", qPrintable(f.errorString()));
    f.write("Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,CollectionFolder,"
            "Date Added,Collection Media Condition,Collection Sleeve Condition,"
            "Collection Notes\r\n");
    for (int i = 1; i <= rows; ++i) {
        const QByteArray n = QByteArray::number(i);
        f.write("\"KAT " + n + ", KAT " + n + "b\",Gruppe " + n + " (2),\"Titel " + n +
                ", Teil zwei\",\"Label " + n + ", Zweitlabel\"," + formats[i % 6] + "," +
                QByteArray::number(i % 6) + ",19" + QByteArray::number(60 + i % 40) + "," +
                QByteArray::number(100000 + i) + ",Schätze," + "2017-06-19 03:33:36," +
                grades[i % 4] + "," + grades[(i + 1) % 4] +
                ",\"Gekauft auf dem Flohmarkt\nKratzer auf Seite B\"\r\n");
    }
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The import in this process: prints "milliseconds peak-kilobytes".
int importStep(const QString& directory, const QString& file) {
    Database db;
    db.open(dataset::databasePath(directory));
    QElapsedTimer t;
    t.start();
    const discogs::Outcome o = discogs::import(db, file, Settings());
    if (!o.ok)
        qFatal("%s", qPrintable(o.error));
    out() << t.nsecsElapsed() / 1e6 << ' ' << peakKilobytes() << ' ' << o.stored << Qt::endl;
    return 0;
}

struct Measured {
    double ms = 0;
    long kilobytes = 0;
};

Measured importChild(const QString& scratch, int rows) {
    const QString dir = QDir(scratch).filePath(QStringLiteral("import%1").arg(rows));
    QDir().mkpath(dir);
    dataset::create(dir);
    const QString file = QDir(scratch).filePath(QStringLiteral("sammlung%1.csv").arg(rows));
    writeCollection(file, rows);
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--import"), dir, file});
    p.waitForFinished(-1);
    const QStringList parts =
        QString::fromLatin1(p.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
    if (p.exitCode() != 0 || parts.size() < 3 || parts[2].toInt() != rows)
        qFatal("import of %d rows failed", rows);
    return {parts[0].toDouble(), parts[1].toLong()};
}

QString binary(const QString& name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

double runMs(const QString& program, const QStringList& args) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qFatal("%s failed", qPrintable(program));
    return t.nsecsElapsed() / 1e6;
}

// The shell's time for the statement, less its time for "SELECT 1" (start, load, exit).
double shellMs(const QString& database, const QString& sql) {
    auto run = [&](const QString& statement) {
        return runMs(QStringLiteral("sqlite3"),
                     {QStringLiteral("-csv"), QStringLiteral("-header"), QStringLiteral("-cmd"),
                      QStringLiteral(".load %1").arg(binary(QStringLiteral("libdiskarium-german"))),
                      database, statement});
    };
    return qMax(0.0, run(sql) - run(QStringLiteral("SELECT 1")));
}

template <class F> double bestOf(int runs, F&& body) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, body());
    return best;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("--import"))
        return importStep(args[1], args[2]);
    if (args.size() != 1 || !dataset::exists(args[0])) {
        QTextStream(stderr) << "Aufruf: diskarium-bench-discogs DATENVERZEICHNIS (erzeugt mit "
                               "diskarium-generate DIR 100000 15 1)\n";
        return 2;
    }
    QTemporaryDir scratch;

    const Measured small = importChild(scratch.path(), 1000);
    const Measured large = importChild(scratch.path(), 10000);
    out() << QStringLiteral(
                 "Discogs-Import: 1.000 Zeilen %1 ms, %2 KB; 10.000 Zeilen %3 ms, %4 KB; "
                 "Mehrbedarf %5 MB (Ziel: höchstens 2000 ms und 10 MB)")
                 .arg(small.ms, 0, 'f', 0)
                 .arg(small.kilobytes)
                 .arg(large.ms, 0, 'f', 0)
                 .arg(large.kilobytes)
                 .arg((large.kilobytes - small.kilobytes) / 1024.0, 0, 'f', 1)
          << Qt::endl;

    const QString data = args[0];
    const QString file = QDir(scratch.path()).filePath(QStringLiteral("export.csv"));
    const QString tool = binary(QStringLiteral("../src/cli/diskarium-tool"));
    // The first run gives an older data set its table of origins, as the tool does.
    runMs(tool, {QStringLiteral("export-discogs"), data, file, QStringLiteral("--overwrite")});
    const double exportMs = bestOf(3, [&] {
        return runMs(tool,
                     {QStringLiteral("export-discogs"), data, file, QStringLiteral("--overwrite")});
    });
    const double shell =
        bestOf(3, [&] { return shellMs(dataset::databasePath(data), discogs::exportSelect()); });
    Database db;
    db.open(dataset::databasePath(data));
    out() << QStringLiteral("Discogs-Export von %1 Tonträgern: export-discogs %2 ms, sqlite3 "
                            ".mode csv %3 ms; Verhältnis %4 (Ziel: höchstens 1,5)")
                 .arg(db.scalar(u"SELECT COUNT(*) FROM MUSIKKOP").toLongLong())
                 .arg(exportMs, 0, 'f', 0)
                 .arg(shell, 0, 'f', 0)
                 .arg(exportMs / shell, 0, 'f', 2)
          << Qt::endl;
    return 0;
}
