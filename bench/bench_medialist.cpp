// The carrier list on a large collection: opening the window to the first painted screen,
// scrolling page by page to the end and sorting by each column, against the sqlite3 shell
// running the same SQL (with the GERMAN collation loaded as an extension). Also the memory
// the open list takes, and diskarium-tool import of many carrier files.
//
//   diskarium-bench-medialist [CARRIERS] [RUNS]
// PROFILE_ONLY=1 times only count, pages, position and opening; SKIP_SCROLL=1 leaves out the
// scrolling runs.
#include "collectiongenerator.h"
#include "core/catalogue/carrierexport.h"
#include "core/catalogue/medialistmodel.h"
#include "core/db/dataset.h"
#include "core/shell/datadirectory.h"
#include "core/shell/startupsequence.h"
#include "gui/catalogue/headbrowsewindow.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {

class SilentMessages : public MessageService {
public:
    MessageButton show(const Message&) override { return MessageButton::Ok; }
    QString chooseOpenFile(const FileChoice&) override { return {}; }
    QString chooseSaveFile(const FileChoice&) override { return {}; }
};

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void report(const QString& name, const std::vector<double>& ms) {
    out() << QStringLiteral("%1  median %2 ms  (%3 runs)")
                 .arg(name, -52)
                 .arg(median(ms), 0, 'f', 1)
                 .arg(ms.size())
          << Qt::endl;
}

qint64 rssKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    f.open(QIODevice::ReadOnly);
    const QString s = QString::fromLatin1(f.readAll());
    const auto m = QRegularExpression(QStringLiteral("VmRSS:\\s+(\\d+)")).match(s);
    return m.captured(1).toLongLong();
}

QString extensionPath() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("libdiskarium-german"));
}

// Wall-clock time of the shell running one statement with its output thrown away, less
// the time of a shell that runs "SELECT 1" (start, extension load, exit).
double shellRun(const QString& database, const QString& sql) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(
        QStringLiteral("sqlite3"),
        {QStringLiteral("-cmd"), QStringLiteral(".load %1").arg(extensionPath()), database, sql});
    p.waitForFinished(600000);
    const double ms = t.nsecsElapsed() / 1e6;
    if (p.exitCode() != 0)
        out() << "sqlite3: " << p.readAllStandardError() << Qt::endl;
    return ms;
}

double shellMs(const QString& database, const QString& sql) {
    static double baseline = -1;
    if (baseline < 0) {
        std::vector<double> b;
        for (int i = 0; i < 5; ++i)
            b.push_back(shellRun(database, QStringLiteral("SELECT 1")));
        baseline = median(b);
    }
    return qMax(0.0, shellRun(database, sql) - baseline);
}

struct Fixture {
    AppState state;
    HintFilter hints;
    SilentMessages messages;
    std::unique_ptr<TMain> main;
    explicit Fixture(const QString& dir) {
        state.dataDirectory = datadirectory::withTrailingSeparator(dir);
        state.db.open(dataset::databasePath(dir));
        main = std::make_unique<TMain>(state, hints);
    }
};

// Opens the window and paints its first screen; returns it.
std::unique_ptr<THeadBrowseWindow> openWindow(Fixture& f) {
    auto w = std::make_unique<THeadBrowseWindow>(*f.main, f.messages, MediaListHooks{});
    w->resize(1000, 600);
    if (!w->FormCreate())
        qFatal("empty list");
    w->show();
    QApplication::processEvents(); // lays the window out, so the grid knows its height
    w->grid()->viewport()->repaint();
    return w;
}

int memoryChild(const QString& dir) {
    Fixture f(dir);
    const qint64 before = rssKb();
    auto w = openWindow(f);
    QScrollBar* bar = w->grid()->verticalScrollBar();
    for (int v = 0; v <= bar->maximum(); v += bar->pageStep()) {
        bar->setValue(v);
        w->grid()->viewport()->repaint();
    }
    out() << (rssKb() - before) << Qt::endl;
    return 0;
}

void createCollection(const QString& dir, int carriers) {
    QElapsedTimer t;
    t.start();
    dataset::create(dir);
    Database db;
    db.open(dataset::databasePath(dir));
    CollectionSize size;
    size.carriers = carriers;
    size.songsPerCarrier = 3;
    generateCollection(db, size);
    db.exec(u"ANALYZE");
    out() << "Sammlung mit " << carriers << " Tonträgern angelegt (" << t.elapsed() << " ms)"
          << Qt::endl;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.value(0) == QLatin1String("--memory"))
        return memoryChild(args.value(1));
    const int carriers = args.value(0, QStringLiteral("100000")).toInt();
    const int runs = args.value(1, QStringLiteral("5")).toInt();

    QTemporaryDir tmp;
    const QString big = tmp.filePath(QStringLiteral("gross"));
    const QString small = tmp.filePath(QStringLiteral("klein"));
    createCollection(big, carriers);
    if (qEnvironmentVariableIsSet("PROFILE_ONLY")) {
        Fixture f(big);
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer t;
            t.start();
            medialist::Query q(f.state.db);
            const qint64 n = q.count();
            const double c = t.nsecsElapsed() / 1e6;
            t.restart();
            const auto rows = q.rows(0, 200);
            const double r = t.nsecsElapsed() / 1e6;
            t.restart();
            const auto after = q.rowsAfter(rows.back(), 200);
            const double a = t.nsecsElapsed() / 1e6;
            t.restart();
            const qint64 pos = q.positionOf(after.back());
            const double p = t.nsecsElapsed() / 1e6;
            out() << n << " count " << c << " ms, first page " << r << " ms, next page " << a
                  << " ms, position " << pos << " " << p << " ms" << Qt::endl;
        }
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer t;
            t.start();
            auto w = openWindow(f);
            out() << "open " << t.nsecsElapsed() / 1e6 << " ms" << Qt::endl;
        }
        return 0;
    }
    createCollection(small, carriers / 10);
    const QString database = dataset::databasePath(big);

    Fixture f(big);
    std::vector<double> open, shellScreen, scroll, shellAll;
    int screenRows = 0;
    for (int i = 0; i < runs && qEnvironmentVariableIsEmpty("SKIP_SCROLL"); ++i) {
        QElapsedTimer t;
        t.start();
        auto w = openWindow(f);
        open.push_back(t.nsecsElapsed() / 1e6);
        screenRows = w->grid()->rowAt(w->grid()->viewport()->height() - 1) + 1;
        const QString sql = w->model()->query()->selectSql();
        shellScreen.push_back(shellMs(database, sql + QStringLiteral(" LIMIT %1").arg(screenRows)));
        t.restart();
        QScrollBar* bar = w->grid()->verticalScrollBar();
        for (int v = 0;; v += bar->pageStep()) {
            bar->setValue(qMin(v, bar->maximum()));
            w->grid()->viewport()->repaint();
            if (v >= bar->maximum())
                break;
        }
        scroll.push_back(t.nsecsElapsed() / 1e6);
        if (w->grid()->rowAt(w->grid()->viewport()->height() - 1) != -1 &&
            w->grid()->rowAt(w->grid()->viewport()->height() - 1) + 1 < w->model()->rowCount())
            out() << "scroll did not reach the end" << Qt::endl;
        shellAll.push_back(shellMs(database, sql));
    }
    {
        auto w = openWindow(f);
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 50; ++i)
            w->grid()->viewport()->repaint();
        out() << "one repaint of the grid: " << t.nsecsElapsed() / 50e6 << " ms" << Qt::endl;
        t.restart();
        auto w2 = std::make_unique<THeadBrowseWindow>(*f.main, f.messages, MediaListHooks{});
        out() << "constructing the window: " << t.nsecsElapsed() / 1e6 << " ms" << Qt::endl;
        t.restart();
        w2->FormCreate();
        out() << "FormCreate: " << t.nsecsElapsed() / 1e6 << " ms" << Qt::endl;
        t.restart();
        w2->show();
        QApplication::processEvents();
        out() << "show and lay out: " << t.nsecsElapsed() / 1e6 << " ms" << Qt::endl;
    }
    out() << "Erster Bildschirm: " << screenRows << " Zeilen" << Qt::endl;
    report(QStringLiteral("window: open to first screen (default order)"), open);
    report(QStringLiteral("sqlite3: SELECT ... LIMIT one screen"), shellScreen);
    out() << QStringLiteral("ratio window / shell: %1")
                 .arg(median(open) / median(shellScreen), 0, 'f', 2)
          << Qt::endl;
    report(QStringLiteral("window: page-wise scroll to the end"), scroll);
    report(QStringLiteral("sqlite3: full SELECT"), shellAll);

    {
        auto w = openWindow(f);
        const auto& columns = medialist::gridColumns();
        for (int c = 0; c < int(columns.size()); ++c) {
            std::vector<double> click, shell;
            for (int i = 0; i < qMax(1, runs / 2); ++i) {
                QElapsedTimer t;
                t.start();
                w->sortByColumn(c);
                w->grid()->viewport()->repaint();
                click.push_back(t.nsecsElapsed() / 1e6);
                shell.push_back(shellMs(database, w->model()->query()->selectSql() +
                                                      QStringLiteral(" LIMIT %1").arg(screenRows)));
            }
            report(QStringLiteral("click \"%1\": first screen").arg(columns[size_t(c)].title),
                   click);
            report(QStringLiteral("   sqlite3 same order, one screen"), shell);
        }
        w->defaultSort();
    }

    // Memory of an open, fully scrolled list, each size in a process of its own.
    auto memory = [&](const QString& dir) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memory"), dir});
        p.waitForFinished(600000);
        return QString::fromLatin1(p.readAllStandardOutput()).trimmed().toLongLong();
    };
    const qint64 memBig = memory(big), memSmall = memory(small);
    out() << QStringLiteral("memory of the open list: %1 KB at %2 carriers, %3 KB at %4, "
                            "difference %5 KB")
                 .arg(memBig)
                 .arg(carriers)
                 .arg(memSmall)
                 .arg(carriers / 10)
                 .arg(memBig - memSmall)
          << Qt::endl;

    // diskarium-tool import of 1000 carrier files into the large collection.
    const QString files = tmp.filePath(QStringLiteral("dateien"));
    QDir().mkpath(files);
    QStringList paths;
    for (int i = 0; i < 1000; ++i) {
        const QString path = QStringLiteral("%1/%2.DKM").arg(files).arg(i);
        QString error;
        if (!carrierexport::exportToFile(f.state.db, 1 + (i * 97) % carriers, true, path, &error))
            out() << error << Qt::endl;
        paths.append(path);
    }
    const QString tool = QDir(QCoreApplication::applicationDirPath())
                             .filePath(QStringLiteral("../src/cli/diskarium-tool"));
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(tool, QStringList{QStringLiteral("import"), big} + paths);
    p.waitForFinished(1200000);
    const double total = t.nsecsElapsed() / 1e6;
    out() << QStringLiteral(
                 "diskarium-tool import of 1000 files: %1 ms total, %2 ms per file (exit %3)")
                 .arg(total, 0, 'f', 0)
                 .arg(total / 1000, 0, 'f', 2)
                 .arg(p.exitCode())
          << Qt::endl;
    return 0;
}
