// Carrier and song searches on a large collection ("diskarium-generate DIR 100000 15"):
// for each search (a) the matches counted, (b) the first screen with the row count, (c) the
// whole sorted list (songs in one statement as the tool reads them, carriers page by page); songs
// with and without the trigram index. Beside them the sqlite3 shell with the plain LIKE (ASCII case
// folding only), (d) the window's first screen: the model set up and its first 30 rows read
// while the count runs on its own thread, all songs listed with their peak memory, the file's
// growth by the index, (e) the first screen sorted by title, and the runner-up: an in-memory,
// case-folded copy of titles and interpreters scanned for the text.
//
//   diskarium-bench-search DIR [RUNS] [SONG-CONDITION]
#include "core/catalogue/medialist.h"
#include "core/catalogue/medialistmodel.h"
#include "core/catalogue/searchcondition.h"
#include "core/catalogue/searchtranslation.h"
#include "core/catalogue/songlist.h"
#include "core/catalogue/songlistmodel.h"
#include "core/db/dataset.h"
#include "core/db/songindex.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <ctime>
#include <functional>
#include <optional>
#include <type_traits>

namespace {

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

qint64 statusKb(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    f.open(QIODevice::ReadOnly);
    const QString s = QString::fromLatin1(f.readAll());
    const auto m =
        QRegularExpression(QString::fromLatin1(key) + QStringLiteral(":\\s+(\\d+)")).match(s);
    return m.captured(1).toLongLong();
}

double timed(const std::function<void()>& work) {
    QElapsedTimer t;
    t.start();
    work();
    return t.nsecsElapsed() / 1e6;
}

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Median wall-clock time; the median processor time goes to cpu (on a busy machine the
// wall clock also counts the time other programs had the processors).
double medianOf(int runs, const std::function<void()>& work, double* cpu = nullptr) {
    std::vector<double> ms, cpus;
    for (int i = 0; i < runs; ++i) {
        const double before = cpuMs();
        ms.push_back(timed(work));
        cpus.push_back(cpuMs() - before);
    }
    if (cpu)
        *cpu = median(cpus);
    return median(ms);
}

// Wall-clock time of the sqlite3 shell for one statement, less a shell that runs "SELECT 1";
// with german, the program's collation and LOWER loaded.
QString shell(const QString& database, const QString& sql, double* ms, bool german = false) {
    const QStringList load =
        german ? QStringList{QStringLiteral("-cmd"),
                             QStringLiteral(".load ") +
                                 QDir(QCoreApplication::applicationDirPath())
                                     .filePath(QStringLiteral("libdiskarium-german"))}
               : QStringList();
    auto run = [&](const QString& statement, QString* output) {
        QProcess p;
        QElapsedTimer t;
        t.start();
        p.start(QStringLiteral("sqlite3"), load + QStringList{database, statement});
        p.waitForFinished(600000);
        const double elapsed = t.nsecsElapsed() / 1e6;
        if (output)
            *output = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        return elapsed;
    };
    std::vector<double> base, times;
    for (int i = 0; i < 3; ++i)
        base.push_back(run(QStringLiteral("SELECT 1"), nullptr));
    QString output;
    for (int i = 0; i < 3; ++i)
        times.push_back(run(sql, &output));
    *ms = qMax(0.0, median(times) - median(base));
    return output;
}

struct Search {
    search::Kind kind;
    QString condition;
};

qint64 readAll(const songlist::Query& q) {
    qint64 n = 0;
    q.forEach([&n](const songlist::Row&) { ++n; });
    return n;
}

template <class Query> qint64 readAll(const Query& q) {
    qint64 n = 0;
    constexpr int kPage = 200;
    auto rows = q.rows(0, kPage);
    while (!rows.empty()) {
        n += qint64(rows.size());
        if (int(rows.size()) < kPage)
            break;
        rows = q.rowsAfter(rows.back(), kPage);
    }
    return n;
}

// From "Ok" to the first screen: the window's model set up and the rows it shows read. The
// count that runs meanwhile is stopped with the model, outside the time.
template <class Model, class Query>
double firstScreen(Database& db, const std::optional<medialist::Filter>& filter, int runs,
                   const QString& sort = {}) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        Model model;
        model.setQuery(std::make_unique<Query>(db, sort, filter));
        for (int row = 0; row < qMin(30, model.rowCount()); ++row)
            model.rowAt(row);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

template <class Query> void measure(const QString& name, const Query& q, int runs, bool whole) {
    qint64 count = 0;
    double aCpu = 0, bCpu = 0, cCpu = 0;
    const double a = medianOf(
        runs, [&] { count = q.count(); }, &aCpu);
    const double b = medianOf(
        runs,
        [&] {
            q.count();
            q.rows(0, 200);
        },
        &bCpu);
    const double d =
        std::is_same_v<Query, songlist::Query>
            ? firstScreen<SongListModel, songlist::Query>(q.database(), q.filter(), runs)
            : firstScreen<MediaListModel, medialist::Query>(q.database(), q.filter(), runs);
    // The same window sorted by the first text column (title of the song or of the carrier).
    const double e =
        std::is_same_v<Query, songlist::Query>
            ? firstScreen<SongListModel, songlist::Query>(q.database(), q.filter(), runs,
                                                          songlist::gridColumns()[2].sortExpression)
            : firstScreen<MediaListModel, medialist::Query>(
                  q.database(), q.filter(), runs, medialist::gridColumns()[1].sortExpression);
    const double c = whole ? medianOf(
                                 qMin(runs, 3), [&] { readAll(q); }, &cCpu)
                           : 0;
    out() << QStringLiteral("%1 %2 Treffer  (a) %3 ms [CPU %4]  (b) %5 ms [CPU %6]  (c) %7 ms "
                            "[CPU %8]  (d) %9 ms  (e) %10 ms")
                 .arg(name, -40)
                 .arg(count, 7)
                 .arg(a, 0, 'f', 1)
                 .arg(aCpu, 0, 'f', 1)
                 .arg(b, 0, 'f', 1)
                 .arg(bCpu, 0, 'f', 1)
                 .arg(c, 0, 'f', 1)
                 .arg(cCpu, 0, 'f', 1)
                 .arg(d, 0, 'f', 1)
                 .arg(e, 0, 'f', 1)
          << Qt::endl;
}

// The statement with its values written in, for the shell (values are the bench's own).
QString withLiterals(const QString& sql, const QVariantList& values) {
    QString result;
    qsizetype next = 0;
    for (const QChar c : sql) {
        if (c != QLatin1Char('?')) {
            result += c;
            continue;
        }
        const QVariant& v = values.at(next++);
        result += v.typeId() == QMetaType::QString
                      ? QLatin1Char('\'') +
                            v.toString().replace(QStringLiteral("'"), QStringLiteral("''")) +
                            QLatin1Char('\'')
                      : v.toString();
    }
    return result;
}

// A carrier search counted by the program and by the shell running the same count (the
// carrier list's joins, the condition with its values written in).
void carrierSearchAgainstShell(Database& db, const QString& path, const QString& condition,
                               int runs) {
    QString error;
    const auto conditions = search::parseConditions(search::Kind::Carriers, {condition}, &error);
    if (!conditions)
        qFatal("%s", qPrintable(error));
    const medialist::Filter filter = search::translate(search::Kind::Carriers, *conditions);
    const medialist::Query query(db, {}, filter);
    qint64 count = 0;
    const double program = medianOf(runs, [&] { count = query.count(); });
    double shellMs = 0;
    const QString shellCount = shell(
        path,
        QStringLiteral("SELECT COUNT(*) FROM \"MUSIKKOP\" MUSIKKOP CROSS JOIN \"MUSIKART\" "
                       "MUSIKART ON MUSIKKOP.\"Art der Schallplatte\" = MUSIKART.\"Index-Nummer\" "
                       "CROSS JOIN \"MUSIKDIR\" MUSIKDIR ON MUSIKKOP.\"Musikrichtung\" = "
                       "MUSIKDIR.\"Index-Nummer\" CROSS JOIN \"MUSIKSTA\" MUSIKSTA ON "
                       "MUSIKKOP.\"Status\" = MUSIKSTA.\"Index-Nummer\" WHERE ") +
            withLiterals(filter.sql, filter.values),
        &shellMs, true);
    out() << QStringLiteral("Träger  %1 %2 Treffer  Programm %3 ms, sqlite3 %4 Treffer %5 ms: "
                            "%6 x")
                 .arg(condition, -30)
                 .arg(count, 7)
                 .arg(program, 0, 'f', 1)
                 .arg(shellCount)
                 .arg(shellMs, 0, 'f', 1)
                 .arg(shellMs > 0 ? program / shellMs : 0, 0, 'f', 2)
          << Qt::endl;
}

void runSearch(Database& db, const Search& s, bool index, int runs) {
    QString error;
    const auto conditions = search::parseConditions(s.kind, {s.condition}, &error);
    if (!conditions)
        qFatal("%s", qPrintable(error));
    search::TranslateOptions options;
    options.songIndex = index;
    const medialist::Filter filter = search::translate(s.kind, *conditions, options);
    const QString label =
        (s.kind == search::Kind::Songs ? QStringLiteral("Lieder  ") : QStringLiteral("Träger  ")) +
        s.condition +
        (s.kind == search::Kind::Songs
             ? (index ? QStringLiteral(" [Index]") : QStringLiteral(" [Scan]"))
             : QString());
    if (s.kind == search::Kind::Songs)
        measure(label, songlist::Query(db, {}, filter), runs, true);
    else
        measure(label, medialist::Query(db, {}, filter), runs, true);
}

// The runner-up: titles and interpreters folded to lower case once, kept in memory and
// scanned for the text.
void inMemoryCopy(Database& db, int runs) {
    const qint64 before = statusKb("VmRSS");
    std::vector<std::pair<qint64, QString>> texts;
    const double build = timed([&] {
        Statement s = db.prepare(u"SELECT rowid, \"Titel des Liedes\", \"Interpret des Liedes\" "
                                 u"FROM MUSIKPOS");
        while (s.next())
            texts.emplace_back(s.toInt64(0),
                               (s.toString(1) + QChar(0x1F) + s.toString(2)).toLower());
    });
    const qint64 memory = statusKb("VmRSS") - before;
    qint64 found = 0;
    const double scan = medianOf(runs, [&] {
        found = 0;
        const QString needle = QStringLiteral("liebe");
        for (const auto& t : texts)
            found += t.second.contains(needle) ? 1 : 0;
    });
    out() << QStringLiteral("Zweitbester Weg: Kopie im Speicher: Aufbau %1 ms, %2 MB, Suche "
                            "\"liebe\" %3 ms (%4 Kandidaten, ohne Lesen der Zeilen)")
                 .arg(build, 0, 'f', 0)
                 .arg(memory / 1024.0, 0, 'f', 1)
                 .arg(scan, 0, 'f', 1)
                 .arg(found)
          << Qt::endl;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        out() << "Aufruf: diskarium-bench-search VERZEICHNIS [LÄUFE]" << Qt::endl;
        return 2;
    }
    const QString dir = args[0];
    const int runs = args.value(1, QStringLiteral("5")).toInt();
    // A third argument times only that song search (e.g. "Titel:~:liebe nacht").
    const QString only = args.value(2);
    const QString path = dataset::databasePath(dir);
    Database db;
    db.open(path);
    if (!songindex::isUsable(db)) {
        const double ms = timed([&] { songindex::rebuild(db); });
        out() << "Index aufgebaut in " << qRound(ms) << " ms" << Qt::endl;
    }
    const qint64 fileSize = QFileInfo(path).size();
    QVariant indexBytes;
    try {
        indexBytes = db.scalar(u"SELECT SUM(pgsize) FROM dbstat WHERE name LIKE 'Suchindex%'");
    } catch (const DbError&) {
    }
    out() << QStringLiteral("Datei %1 MB, davon Liederindex %2 MB")
                 .arg(fileSize / 1048576.0, 0, 'f', 1)
                 .arg(indexBytes.isValid()
                          ? QString::number(indexBytes.toDouble() / 1048576.0, 'f', 1)
                          : QStringLiteral("?"))
          << Qt::endl;

    const std::vector<Search> searches = {
        {search::Kind::Songs, QStringLiteral("Titel:~:liebe")},
        {search::Kind::Songs, QStringLiteral("Titel:~:liebe nacht")},
        {search::Kind::Songs, QStringLiteral("Titel:~:ie")},
        {search::Kind::Songs, QStringLiteral("Titel:~:xyzq")},
        {search::Kind::Songs, QStringLiteral("Interpret:~:ärzte")},
    };
    if (!only.isEmpty()) {
        runSearch(db, {search::Kind::Songs, only}, true, runs);
        runSearch(db, {search::Kind::Songs, only}, false, runs);
        return 0;
    }
    for (const Search& s : searches) {
        runSearch(db, s, true, runs);
        runSearch(db, s, false, runs);
    }
    runSearch(db, {search::Kind::Carriers, QStringLiteral("Gruppe:~:ärzte")}, false, runs);
    for (const char* condition :
         {"Gruppe:~:ärzte", "Titel:~:liebe", "Bewertung:=:3", "Kaufpreis:>:20"})
        carrierSearchAgainstShell(db, path, QString::fromUtf8(condition), runs);

    // The sqlite3 shell: plain LIKE folds ASCII only, so umlauts count differently.
    double ms = 0;
    const QString shellCount = shell(
        path,
        QStringLiteral("SELECT COUNT(*) FROM MUSIKPOS WHERE \"Titel des Liedes\" LIKE '%liebe%'"),
        &ms);
    out() << QStringLiteral("sqlite3 COUNT LIKE '%liebe%' (Titel)              %1 Treffer  %2 ms")
                 .arg(shellCount, 8)
                 .arg(ms, 0, 'f', 1)
          << Qt::endl;
    const QString shellArzte =
        shell(path,
              QStringLiteral("SELECT COUNT(*) FROM MUSIKPOS WHERE \"Interpret des Liedes\" LIKE "
                             "'%ärzte%'"),
              &ms);
    out() << QStringLiteral("sqlite3 COUNT LIKE '%ärzte%' (Interpret; Ä nicht gefaltet) %1 "
                            "Treffer  %2 ms")
                 .arg(shellArzte, 8)
                 .arg(ms, 0, 'f', 1)
          << Qt::endl;
    shell(path,
          QStringLiteral("SELECT * FROM MUSIKPOS MUSIKPOS JOIN MUSIKKOP "
                         "MUSIKKOP ON MUSIKPOS.\"Folgenummer Position\" = MUSIKKOP.\"Folgenummer "
                         "Kopf\" WHERE MUSIKPOS.\"Titel des Liedes\" LIKE '%liebe%' ORDER BY "
                         "MUSIKKOP.\"Gruppe/Interpret/Text 1\", MUSIKKOP.\"Text 2\", "
                         "MUSIKKOP.\"Art der Schallplatte\", MUSIKKOP.\"Nummerierung\""),
          &ms);
    out() << QStringLiteral(
                 "sqlite3 sortierte Liste LIKE '%liebe%' (binär sortiert)          %1 ms")
                 .arg(ms, 0, 'f', 1)
          << Qt::endl;

    // Every song listed, page by page, and the memory that takes.
    {
        const qint64 before = statusKb("VmHWM");
        const songlist::Query all(db);
        qint64 n = 0;
        const double listed = timed([&] { n = readAll(all); });
        out() << QStringLiteral("Alle %1 Lieder gelesen: %2 ms, Spitzenspeicher +%3 MB")
                     .arg(n)
                     .arg(listed, 0, 'f', 0)
                     .arg((statusKb("VmHWM") - before) / 1024.0, 0, 'f', 1)
              << Qt::endl;
    }
    inMemoryCopy(db, runs);
    return 0;
}
