// The owned-already check on a large collection ("diskarium-generate DIR 100000 1"): each
// carrier gets a MusicBrainz release group and every second one a Discogs release (once, in
// the data set), then findOwned runs for candidates that meet a carrier by group and title
// (spelt in other case, without umlaut dots), by release group, by Discogs release, and for
// ones that meet none. Prints the median and the slowest call of each kind and the plans.
//
//   diskarium-bench-owned DIR [RUNS]
#include "core/catalogue/carrierorigins.h"
#include "core/db/dataset.h"
#include "core/db/startupchecks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <ctime>
#include <functional>
#include <random>

namespace {

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

QString mbid(int n, char kind) {
    return QStringLiteral("%1-%2-4bbb-8ccc-%3")
        .arg(n, 8, 16, QLatin1Char('0'))
        .arg(QString(4, QLatin1Char(kind)))
        .arg(n, 12, 10, QLatin1Char('0'));
}

void addOrigins(Database& db) {
    if (db.scalar(u"SELECT COUNT(*) FROM \"MUSIKEXT\"").toLongLong() > 0)
        return;
    Transaction t(db);
    Statement carriers = db.prepare(u"SELECT \"Folgenummer Kopf\" FROM \"MUSIKKOP\"");
    while (carriers.next()) {
        const int n = int(carriers.toDouble(0));
        QList<CarrierOrigin> origins{{carrierorigins::kMusicBrainzRelease, mbid(n, 'a')},
                                     {carrierorigins::kMusicBrainzReleaseGroup, mbid(n, 'b')}};
        if (n % 2 == 0)
            origins.append({carrierorigins::kDiscogsRelease, QString::number(100000 + n)});
        carrierorigins::write(db, n, origins);
    }
    t.commit();
}

struct Carrier {
    int number;
    QString group, title;
};

// Other case and no umlaut dots: what the check must still find.
QString respelt(const QString& text) {
    QString s = text.toUpper();
    for (auto [from, to] : {std::pair{u'Ä', u'A'}, {u'Ö', u'O'}, {u'Ü', u'U'}})
        s.replace(QChar(from), QChar(to));
    return s;
}

void measure(Database& db, const char* what, const std::vector<Carrier>& sample,
             const std::function<carrierorigins::Candidate(const Carrier&)>& candidate,
             bool expectHit) {
    std::vector<double> ms, cpu;
    int misses = 0;
    for (const Carrier& c : sample) {
        const carrierorigins::Candidate k = candidate(c);
        const double before = cpuMs();
        QElapsedTimer t;
        t.start();
        const QList<carrierorigins::Owned> owned = carrierorigins::findOwned(db, k);
        ms.push_back(t.nsecsElapsed() / 1e6);
        cpu.push_back(cpuMs() - before);
        const bool hit = std::any_of(owned.begin(), owned.end(),
                                     [&](const auto& o) { return o.number == c.number; });
        misses += hit != expectHit;
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    // The wall clock also counts other programs' turns on a busy machine; the processor
    // time of this thread is the check's own work.
    out() << QStringLiteral("%1: Median %2 ms, 99. Perzentil %3 ms, langsamster %4 ms "
                            "(Prozessorzeit: langsamster %5 ms; %6 Aufrufe, %7 falsch)\n")
                 .arg(QString::fromUtf8(what), -36)
                 .arg(ms[ms.size() / 2], 0, 'f', 3)
                 .arg(ms[ms.size() * 99 / 100], 0, 'f', 3)
                 .arg(ms.back(), 0, 'f', 3)
                 .arg(cpu.back(), 0, 'f', 3)
                 .arg(ms.size())
                 .arg(misses);
}

void plan(Database& db, const QString& sql) {
    Statement s = db.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    while (s.next())
        out() << "  Plan: " << s.toString(3) << "\n";
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        QTextStream(stderr) << "Aufruf: diskarium-bench-owned VERZEICHNIS [LÄUFE]\n";
        return 2;
    }
    const int runs = std::max(1, args.value(1, QStringLiteral("200")).toInt());
    Database db;
    db.open(dataset::databasePath(args[0]));
    dataset::addMissingTables(db);
    addOrigins(db);
    // A collection generated before the check had its index gets it here, as at start-up.
    struct Silent : MessageService {
        MessageButton show(const Message&) override { return MessageButton::Ok; }
        QString chooseOpenFile(const FileChoice&) override { return {}; }
        QString chooseSaveFile(const FileChoice&) override { return {}; }
    } silent;
    startupchecks::checkAndRebuildIndexes(db, false, silent, {}, nullptr,
                                          startupchecks::PageCheck::Skip);

    std::vector<Carrier> sample;
    Statement s = db.prepare(u"SELECT \"Folgenummer Kopf\", \"Gruppe/Interpret/Text 1\", "
                             u"\"Text 2\" FROM \"MUSIKKOP\" ORDER BY random() LIMIT ?1");
    s.bind(1, runs);
    while (s.next())
        sample.push_back({int(s.toDouble(0)), s.toString(1), s.toString(2)});
    out() << "Tonträger: " << db.scalar(u"SELECT COUNT(*) FROM \"MUSIKKOP\"").toLongLong()
          << ", Kennungen: " << db.scalar(u"SELECT COUNT(*) FROM \"MUSIKEXT\"").toLongLong()
          << "\n";

    using Candidate = carrierorigins::Candidate;
    measure(
        db, "Gruppe und Titel anders geschrieben", sample,
        [](const Carrier& c) {
            return Candidate{{}, {}, respelt(c.group), respelt(c.title)};
        },
        true);
    measure(
        db, "Veröffentlichungsgruppe", sample,
        [](const Carrier& c) {
            return Candidate{mbid(c.number, 'b'), {}, {}, {}};
        },
        true);
    std::vector<Carrier> even; // the carriers with a Discogs release
    std::copy_if(sample.begin(), sample.end(), std::back_inserter(even),
                 [](const Carrier& c) { return c.number % 2 == 0; });
    measure(
        db, "Discogs-Veröffentlichung", even,
        [](const Carrier& c) {
            return Candidate{{}, QString::number(100000 + c.number), {}, {}};
        },
        true);
    measure(
        db, "alle drei, ein Tonträger", even,
        [](const Carrier& c) {
            return Candidate{mbid(c.number, 'b'), QString::number(100000 + c.number), c.group,
                             c.title};
        },
        true);
    measure(
        db, "alle drei, keiner vorhanden", sample,
        [](const Carrier& c) {
            return Candidate{mbid(c.number + 10000000, 'b'), QStringLiteral("1"),
                             c.group + QStringLiteral(" x"), c.title};
        },
        false);

    out() << "Gruppe und Titel:\n";
    plan(db, QStringLiteral("SELECT 1 FROM \"MUSIKKOP\" WHERE \"Gruppe/Interpret/Text 1\" = 'a' "
                            "COLLATE GERMANPRIMARY AND \"Text 2\" = 'b' COLLATE GERMANPRIMARY"));
    out() << "Kennung:\n";
    plan(db, QStringLiteral("SELECT 1 FROM \"MUSIKEXT\" AS e JOIN \"MUSIKKOP\" AS k ON "
                            "k.\"Folgenummer Kopf\" = e.\"Folgenummer Kopf\" WHERE e.\"Quelle\" = "
                            "'discogs:release' AND e.\"Kennung\" = '1'"));
    out().flush();
    return 0;
}
