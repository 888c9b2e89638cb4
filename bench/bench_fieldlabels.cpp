// The user's field names on a large collection: opening the carrier list and an entry window
// with their [TT Rename] switches off and on, every label key renamed. The names cost one
// query per window; prints the median of each case in ms and the difference per window.
#include "collectiongenerator.h"
#include "core/catalogue/fieldlabels.h"
#include "core/common/messageservice.h"
#include "core/db/dataset.h"
#include "core/shell/appstate.h"
#include "core/shell/datadirectory.h"
#include "gui/catalogue/headbrowsewindow.h"
#include "gui/catalogue/tmainttdialog.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {

class SilentMessages : public MessageService {
public:
    MessageButton show(const Message&) override { return MessageButton::Yes; }
    QString chooseOpenFile(const FileChoice&) override { return {}; }
    QString chooseSaveFile(const FileChoice&) override { return {}; }
};

double median(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

template <class F> double timed(F&& body) {
    QElapsedTimer timer;
    timer.start();
    body();
    QApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CollectionSize size;
    if (argc > 1)
        size.carriers = QString::fromLocal8Bit(argv[1]).toInt();
    const int runs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 11;
    QTextStream out(stdout);
    QTemporaryDir dir;
    dataset::create(dir.path());
    AppState state;
    state.dataDirectory = datadirectory::withTrailingSeparator(dir.path());
    state.db.open(dataset::databasePath(dir.path()));
    generateCollection(state.db, size);
    for (int key : fieldlabels::labelKeys())
        fieldlabels::rename(state.db, key, QStringLiteral("Eigen &%1").arg(key));
    HintFilter hints;
    SilentMessages messages;
    TMain main(state, hints);
    out << "Sammlung: " << size.carriers << " Tonträger, alle " << fieldlabels::labelKeys().size()
        << " Felder umbenannt, " << runs << " Läufe" << Qt::endl;

    std::vector<double> list[2], entry[2], query;
    for (int run = 0; run < runs; ++run) {
        query.push_back(timed([&] { fieldlabels::renamed(state.db); }));
        // Off and on take turns at going first, so warming up favours neither.
        for (int i = 0; i < 2; ++i) {
            const int on = (i + run) % 2;
            state.settings.ttRename[0] = on;
            state.settings.ttRename[1] = on;
            list[on].push_back(timed([&] {
                THeadBrowseWindow w(main, messages, MediaListHooks{});
                w.resize(1000, 600);
                if (!w.FormCreate())
                    qFatal("empty list");
                w.show();
                QApplication::processEvents();
                w.grid()->viewport()->repaint();
            }));
            entry[on].push_back(timed([&] {
                TMainTtDialog w(state, messages, EntryWindowHooks(), 1 + run * 97 % size.carriers);
                w.resize(1000, 700);
                w.show();
                QApplication::processEvents();
            }));
        }
    }
    auto report = [&](const QString& name, const std::vector<double>* t) {
        const double off = median(t[0]), on = median(t[1]);
        out << QStringLiteral("%1  aus %2 ms  an %3 ms  Unterschied %4 ms")
                   .arg(name, -32)
                   .arg(off, 0, 'f', 2)
                   .arg(on, 0, 'f', 2)
                   .arg(on - off, 0, 'f', 2)
            << Qt::endl;
    };
    report(QStringLiteral("Tonträgerliste öffnen"), list);
    report(QStringLiteral("Erfassungsfenster öffnen"), entry);
    out << QStringLiteral("%1  %2 ms")
               .arg(QStringLiteral("Abfrage der eigenen Namen"), -32)
               .arg(median(query), 0, 'f', 3)
        << Qt::endl;
    return 0;
}
