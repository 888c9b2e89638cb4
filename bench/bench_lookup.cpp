// Lookup tables on a large collection: the in-use test and deleting per kind, a selection
// window on 1,000 entries and that list written to PDF. diskarium-bench-lookup [CARRIERS=20000]
#include "collectiongenerator.h"
#include "core/db/dataset.h"
#include "core/db/recordaccess.h"
#include "core/lookup/currencystore.h"
#include "core/lookup/lookupkinds.h"
#include "core/lookup/lookuplist.h"
#include "core/lookup/lookupstore.h"
#include "core/shell/appstate.h"
#include "gui/lookup/lookupcommands.h"
#include "gui/shell/hintfilter.h"
#include "gui/shell/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

class NoMessages : public MessageService {
public:
    MessageButton show(const Message&) override { return MessageButton::Ok; }
    QString chooseOpenFile(const FileChoice&) override { return {}; }
    QString chooseSaveFile(const FileChoice&) override { return {}; }
};

double milliseconds(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    CollectionSize size;
    if (argc > 1)
        size.carriers = QString::fromLocal8Bit(argv[1]).toInt();
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("daten"));
    dataset::create(data);
    AppState state;
    state.dataDirectory = data + QLatin1Char('/');
    state.db.open(dataset::databasePath(data));
    out << "Erzeuge " << size.carriers << " Tonträger mit je " << size.songsPerCarrier
        << " Liedern ..." << Qt::endl;
    generateCollection(state.db, size);

    // A free entry, so that the test scans everything and the delete goes through.
    for (int kind = 0; kind <= lookup::kCurrencies; ++kind) {
        const QString name = kind == lookup::kCurrencies ? QStringLiteral("Währungen")
                                                         : lookup::kindInfo(kind).entryName;
        QElapsedTimer timer;
        double inUse = 0, remove = 0;
        if (kind == lookup::kCurrencies) {
            CurrencyStore store(state.db, state.settings);
            const qint32 key =
                store.save({std::nullopt, QStringLiteral("XX"), QStringLiteral("Probe"), 1});
            timer.start();
            store.isInUse(key);
            inUse = milliseconds(timer);
            timer.restart();
            store.remove(key);
            remove = milliseconds(timer);
        } else {
            LookupStore store(state.db, kind);
            LookupEntry entry;
            entry.longName = QStringLiteral("Probe");
            const double key = store.save(entry);
            timer.start();
            store.isInUse(key);
            inUse = milliseconds(timer);
            timer.restart();
            store.remove(key);
            remove = milliseconds(timer);
        }
        out << name << ": in Verwendung " << QString::number(inUse, 'f', 1) << " ms, löschen "
            << QString::number(remove, 'f', 1) << " ms" << Qt::endl;
    }

    {
        Transaction transaction(state.db);
        records::Inserter<LookupRecord> insert(state.db, schema::table(u"MusikTanzStil"));
        for (int i = 1; i <= 1000; ++i) {
            LookupRecord r;
            r.indexNummer = 1000 + i;
            r.kurzbezeichnung = QStringLiteral("T%1").arg(i);
            r.langbezeichnung = QStringLiteral("Tanzstil Nummer %1 mit längerem Namen").arg(i);
            r.nummerierung = 0;
            insert.insert(r);
        }
        transaction.commit();
    }
    NoMessages messages;
    HintFilter hints;
    state.settings.showTip = false;
    TMain main(state, hints);
    LookupCommands commands(main, messages);
    QElapsedTimer timer;
    timer.start();
    commands.openSelection(lookup::kDanceStyles);
    out << "Auswahlfenster mit 1000 Einträgen: " << QString::number(milliseconds(timer), 'f', 1)
        << " ms" << Qt::endl;

    timer.restart();
    const ReportResult result = printReportToPdf(
        lookuplist::composeReport, state.db, state.settings, data, messages,
        {QStringLiteral("MusikTanzStil")}, {}, dir.filePath(QStringLiteral("liste.pdf")));
    out << "Liste als PDF (" << result.pages
        << " Seiten): " << QString::number(milliseconds(timer), 'f', 1) << " ms" << Qt::endl;
    main.mdiArea()->closeAllSubWindows();
    return result.status == ReportStatus::Composed ? 0 : 1;
}
