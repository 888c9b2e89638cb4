// Lending on a large collection: the overview of a borrower with about 1,000 lendings, the
// lending list queries against the sqlite3 shell on the same SQL (GERMAN collation loaded as
// an extension), composing the list of all lendings with its PDF replay, and one lend and
// one return.
//
//   diskarium-bench-lending [DIR]
// DIR: a data directory made by diskarium-generate DIR 20000 2 1 --lent 5000 --returned
// 15000 --heavy-borrower 1000; made in a temporary folder when not given. COMPOSE_ONLY=1
// times only the composition of the list (for profiling).
#include "collectiongenerator.h"
#include "core/common/messageservice.h"
#include "core/db/dataset.h"
#include "core/lending/lending.h"
#include "core/lending/lendinglistreport.h"
#include "core/lending/lendingqueries.h"
#include "core/printing/pageprinter.h"
#include "core/printing/pdfpagedevice.h"
#include "core/printing/reportsetup.h"
#include "core/printing/templatestore.h"
#include "core/shell/appstate.h"
#include "core/shell/datadirectory.h"
#include "gui/lending/tvwlendedttdialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <sys/resource.h>

namespace {

class SilentMessages : public MessageService {
public:
    MessageButton show(const Message& m) override {
        QTextStream(stderr) << m.text << Qt::endl;
        return MessageButton::Ok;
    }
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

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

template <class F> double timed(F&& f) {
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

// Wall-clock time of the shell running the statement with its output thrown away, less the
// time of a shell that runs "SELECT 1".
double shellRun(const QString& database, const QString& sql, const QStringList& parameters) {
    QStringList args{QStringLiteral("-cmd"),
                     QStringLiteral(".load %1")
                         .arg(QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral("libdiskarium-german")))};
    for (const QString& p : parameters)
        args << QStringLiteral("-cmd") << QStringLiteral(".parameter set ") + p;
    args << database << sql;
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("sqlite3"), args);
    p.waitForFinished(600000);
    const double ms = t.nsecsElapsed() / 1e6;
    if (p.exitCode() != 0)
        out() << "sqlite3: " << p.readAllStandardError() << Qt::endl;
    return ms;
}

double shellMs(const QString& database, const QString& sql, const QStringList& parameters) {
    std::vector<double> base, runs;
    for (int i = 0; i < 5; ++i) {
        base.push_back(shellRun(database, QStringLiteral("SELECT 1"), {}));
        runs.push_back(shellRun(database, sql, parameters));
    }
    return std::max(0.0, median(runs) - median(base));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    QString directory = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (directory.isEmpty()) {
        directory = temporary.filePath(QStringLiteral("daten"));
        dataset::create(directory);
        Database db;
        db.open(dataset::databasePath(directory));
        CollectionSize size;
        size.songsPerCarrier = 2;
        size.lentCarriers = 5000;
        size.returnedLendings = 15000;
        size.heavyBorrowerLendings = 1000;
        const double ms = timed([&] { generateCollection(db, size); });
        out() << "Sammlung erzeugt: 20000 Tonträger, 5000 verliehen, " << ms / 1000 << " s"
              << Qt::endl;
    }
    AppState state;
    state.dataDirectory = datadirectory::withTrailingSeparator(directory);
    state.db.open(dataset::databasePath(directory));
    const QString databasePath = dataset::databasePath(directory);
    SilentMessages messages;
    LendingContext context(state, messages);

    const bool composeOnly = qEnvironmentVariableIsSet("COMPOSE_ONLY");
    // The overview of the borrower with the most lendings, opened to its first paint.
    std::vector<double> overview;
    int rows = 0;
    for (int i = 0; i < (composeOnly ? 0 : 7); ++i)
        overview.push_back(timed([&] {
            TVwLendedTtDialog dialog(context, 1);
            dialog.show();
            QApplication::processEvents();
            rows = dialog.grid()->rowCount();
        }));
    std::vector<double> query;
    for (int i = 0; i < 7; ++i)
        query.push_back(timed([&] { lendingqueries::overview(state.db, 1); }));
    out() << "Abfrage der Übersicht: " << median(query) << " ms" << Qt::endl;
    out() << "Übersicht Leiher 1 (" << rows << " Zeilen) öffnen: " << median(overview)
          << " ms (Ziel ≤ 100)" << Qt::endl;

    // The list queries stepped to the end, against the shell.
    using S = lendingqueries::Selection;
    const struct {
        const char* name;
        int borrower;
        S selection;
    } queries[] = {{"alle Leiher, alle", -1, S::All},
                   {"alle Leiher, verliehen", -1, S::Open},
                   {"alle Leiher, zurück", -1, S::Returned},
                   {"Leiher 1, alle", 1, S::All}};
    for (const auto& q : queries) {
        if (composeOnly)
            break;
        std::vector<double> ours;
        int count = 0;
        for (int i = 0; i < 5; ++i)
            ours.push_back(timed([&] {
                lendingqueries::ListCursor cursor(state.db, q.borrower, q.selection);
                count = 0;
                while (cursor.next())
                    ++count;
            }));
        QStringList parameters;
        if (q.borrower >= 0)
            parameters << QStringLiteral(":Index %1").arg(q.borrower);
        if (q.selection != S::All)
            parameters << QStringLiteral(":Status %1").arg(q.selection == S::Open ? 1 : 0);
        const double shell = shellMs(
            databasePath, lendingqueries::listSql(q.borrower >= 0, q.selection), parameters);
        out() << "Liste " << q.name << " (" << count << " Zeilen): " << median(ours)
              << " ms, sqlite3 " << shell << " ms, Faktor "
              << (shell > 0 ? median(ours) / shell : 0) << " (Ziel ≤ 1,5)" << Qt::endl;
    }

    // The list of all lendings through the delivered lending template.
    {
        lendinglistreport::Options options;
        options.templ = templatestore::choose(state.db, 4, QString()).value();
        PdfPageDevice device;
        TPagePrinter printer(&device);
        reportsetup::resetForReport(printer);
        printer.setShowProgress(false);
        const long before = peakKilobytes();
        const double composeMs =
            timed([&] { lendinglistreport::print(printer, state.db, messages, options, -1); });
        const int pages = printer.PageCount();
        const long after = peakKilobytes();
        QSaveFile file(temporary.filePath(QStringLiteral("liste.pdf")));
        file.open(QIODevice::WriteOnly);
        device.setOutputDevice(&file);
        const double pdfMs = composeOnly ? 0 : timed([&] { printer.PrintPages(); });
        file.commit();
        out() << "Verleihliste alle: " << pages << " Seiten, Satz " << composeMs
              << " ms = " << composeMs * 1000 / std::max(1, pages)
              << " ms je 1000 Seiten (Ziel ≤ 1000), " << (after - before) / 1024
              << " MB mehr Spitze (Ziel ≤ 30), PDF " << pdfMs << " ms, "
              << QFile(file.fileName()).size() / 1024 << " KB" << Qt::endl;
    }

    // One lend and one return, each a durable transaction.
    if (composeOnly)
        return 0;
    std::vector<double> lends, returns;
    const QDateTime now = QDateTime::currentDateTime();
    Statement free = state.db.prepare(
        u"SELECT \"Folgenummer Kopf\" FROM \"MUSIKKOP\" WHERE \"Status\" <> -1 LIMIT 20");
    std::vector<int> carriers;
    while (free.next())
        carriers.push_back(int(free.toInt64(0)));
    for (int c : carriers) {
        lends.push_back(timed([&] { lending::lend(state.db, c, 2, now); }));
        returns.push_back(timed([&] { lending::takeBack(state.db, c, now.date(), true); }));
    }
    // The floor: one durable transaction over two tables (synchronous FULL, rollback journal).
    std::vector<double> commits;
    for (int i = 0; i < 20; ++i)
        commits.push_back(timed([&] {
            Transaction t(state.db);
            state.db.exec(u"UPDATE \"MUSIKKOP\" SET \"Status\" = 3 WHERE \"Folgenummer Kopf\" = 2");
            state.db.exec(u"UPDATE \"VERSTAMM\" SET \"Land\" = 'x' WHERE \"Folgenummer\" = 2");
            t.commit();
        }));
    out() << "Verleihen: " << median(lends) << " ms, Zurücknehmen: " << median(returns)
          << " ms (Ziel je ≤ 10); zwei Tabellen ändern und festschreiben: " << median(commits)
          << " ms" << Qt::endl;
    return 0;
}
