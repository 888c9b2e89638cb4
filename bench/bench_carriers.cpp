// The whole carrier list from the tool ("carriers DIR", as text and as CSV) against the sqlite3
// shell running the list's own ordered SELECT on the same file (GERMAN collation loaded), each
// as a whole process, medians of RUNS; the ratio is what the tool adds to reading the rows.
//
//   diskarium-bench-carriers DIR [RUNS]      (DIR from "diskarium-generate DIR N 15 1")
#include "core/catalogue/medialist.h"
#include "core/db/dataset.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

// Median wall-clock time of a process with its output thrown away.
double medianRun(const QString& program, const QStringList& args, int runs) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer t;
        t.start();
        p.start(program, args);
        p.waitForFinished(-1);
        ms.push_back(t.nsecsElapsed() / 1e6);
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            out() << program << ": " << p.readAllStandardError() << Qt::endl;
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        out() << "Aufruf: diskarium-bench-carriers VERZEICHNIS [LÄUFE]" << Qt::endl;
        return 2;
    }
    const QString dir = args[0];
    const int runs = qMax(1, args.value(1, QStringLiteral("3")).toInt());
    const QString database = dataset::databasePath(dir);
    QString sql;
    {
        Database db;
        db.open(database);
        sql = medialist::Query(db).selectSql();
    }
    const QDir here(QCoreApplication::applicationDirPath());
    const QString tool = here.filePath(QStringLiteral("../src/cli/diskarium-tool"));
    const QString extension = here.filePath(QStringLiteral("libdiskarium-german"));

    const double shell = medianRun(
        QStringLiteral("sqlite3"),
        {QStringLiteral("-cmd"), QStringLiteral(".load ") + extension, database, sql}, runs);
    const double text = medianRun(tool, {QStringLiteral("carriers"), dir}, runs);
    const double csv =
        medianRun(tool, {QStringLiteral("carriers"), dir, QStringLiteral("--csv")}, runs);
    out() << QStringLiteral("sqlite3 (the list's SELECT)   %1 ms").arg(shell, 8, 'f', 0)
          << Qt::endl;
    out() << QStringLiteral("carriers DIR                  %1 ms  %2 x")
                 .arg(text, 8, 'f', 0)
                 .arg(text / shell, 0, 'f', 2)
          << Qt::endl;
    out() << QStringLiteral("carriers DIR --csv            %1 ms  %2 x")
                 .arg(csv, 8, 'f', 0)
                 .arg(csv / shell, 0, 'f', 2)
          << Qt::endl;
    return 0;
}
