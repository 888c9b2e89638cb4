// The statistics on a large collection with every conversion fallback, each kind counted by
// the program's core (slice by slice, as the window does) beside the sqlite3 shell running the
// same aggregate text over all carriers at once; and the carrier list of 20,000 carriers
// through "Tonträgerliste mit Kaufpreis" to PDF by diskarium-tool: time and peak memory.
//
//   diskarium-bench-statistics [CARRIERS=100000] [SONGS=15] [LIST_CARRIERS=20000]
#include "collectiongenerator.h"
#include "core/common/germanformat.h"
#include "core/db/dataset.h"
#include "core/printing/statistics.h"
#include "core/settings/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <sys/resource.h>

namespace {

constexpr int kRuns = 5;

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

QString generate(const QString& directory, const CollectionSize& size) {
    const QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    dataset::create(directory);
    Database db;
    db.open(dataset::databasePath(directory));
    generateCollection(db, size);
    out() << QStringLiteral("Erzeugt: %1 Tonträger mit je %2 Liedern in %3 s")
                 .arg(size.carriers)
                 .arg(size.songsPerCarrier)
                 .arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1)
          << Qt::endl;
    return dataset::databasePath(directory);
}

// The shell runs the aggregate kRuns times with the parameters bound as the core binds them;
// its own timer gives the time of each run (no process start in it).
std::vector<double> shellRuns(const QString& database, const QString& sql, qint64 lastRowid,
                              const Settings& settings, QString* rows) {
    QString script = QStringLiteral(".parameter init\n");
    script +=
        QStringLiteral(".parameter set :RowidFrom 0\n.parameter set :RowidTo %1\n").arg(lastRowid);
    script += QStringLiteral(".parameter set :ConvNew %1\n.parameter set :ConvOld %2\n")
                  .arg(settings.currencyNew)
                  .arg(settings.currencyOld);
    script += QStringLiteral(".parameter set :ConvFirstNewDay \"'%1'\"\n")
                  .arg(germanformat::dateFromDayNumber(settings.currencyDate2)
                           .toString(QStringLiteral("yyyy-MM-dd")));
    script += QStringLiteral(".timer on\n");
    for (int i = 0; i < kRuns; ++i)
        script += sql + QStringLiteral(";\n");
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {database});
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    const QString output = QString::fromUtf8(shell.readAllStandardOutput());
    std::vector<double> ms;
    static const QRegularExpression real(QStringLiteral("Run Time: real ([0-9.]+)"));
    for (auto it = real.globalMatch(output); it.hasNext();)
        ms.push_back(it.next().captured(1).toDouble() * 1000.0);
    if (rows)
        *rows = output.section(QStringLiteral("Run Time"), 0, 0);
    if (ms.size() != size_t(kRuns))
        out() << "sqlite3: " << shell.readAllStandardError() << output.left(400) << Qt::endl;
    return ms;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    CollectionSize size;
    size.carriers = args.value(0, QStringLiteral("100000")).toInt();
    size.songsPerCarrier = args.value(1, QStringLiteral("15")).toInt();
    size.fallbackEvery = 10;
    const int listCarriers = args.value(2, QStringLiteral("20000")).toInt();
    QTemporaryDir dir;

    // The list first, so that the peak memory of the children is the tool's.
    {
        CollectionSize listSize;
        listSize.carriers = listCarriers;
        const QString data = dir.filePath(QStringLiteral("liste"));
        generate(data, listSize);
        const QString tool = QDir(QCoreApplication::applicationDirPath())
                                 .filePath(QStringLiteral("../src/cli/diskarium-tool"));
        const QString pdf = dir.filePath(QStringLiteral("liste.pdf"));
        QElapsedTimer timer;
        timer.start();
        QProcess process;
        process.start(tool,
                      {QStringLiteral("print"), data, QStringLiteral("list"),
                       QStringLiteral("--template"), QStringLiteral("Tonträgerliste mit Kaufpreis"),
                       QStringLiteral("--pdf"), pdf});
        process.waitForFinished(-1);
        const double seconds = double(timer.elapsed()) / 1000.0;
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        out() << QStringLiteral("Tonträgerliste, %1 Tonträger als PDF: %2 s, Spitzenspeicher %3 MB"
                                " (%4)")
                     .arg(listCarriers)
                     .arg(seconds, 0, 'f', 2)
                     .arg(double(usage.ru_maxrss) / 1024.0, 0, 'f', 1)
                     .arg(QString::fromUtf8(process.readAllStandardOutput()).trimmed())
              << Qt::endl;
        QDir(data).removeRecursively();
    }

    const QString database = generate(dir.filePath(QStringLiteral("daten")), size);
    Database db;
    db.open(database);
    const Settings settings;
    const qint64 lastRowid = db.scalar(u"SELECT MAX(rowid) FROM \"MUSIKKOP\"").toLongLong();
    for (int kind = 1; kind <= 4; ++kind) {
        std::vector<double> core;
        statistics::Table table;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            table = statistics::count(db, settings, kind);
            core.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        const std::vector<double> shell =
            shellRuns(database, statistics::aggregateSql(kind), lastRowid, settings, nullptr);
        const double ratio = median(shell) > 0 ? median(core) / median(shell) : 0;
        out() << QStringLiteral("%1  Kern median %2 ms  sqlite3 median %3 ms  Faktor %4  "
                                "(%5 Zeilen, Gesamt %6)")
                     .arg(statistics::caption(kind), -28)
                     .arg(median(core), 0, 'f', 1)
                     .arg(median(shell), 0, 'f', 1)
                     .arg(ratio, 0, 'f', 2)
                     .arg(table.rows.size())
                     .arg(statistics::totalRow(table).join(QLatin1Char(' ')))
              << Qt::endl;
    }
    return 0;
}
