#include "medialistcommands.h"
#include "console.h"

#include "core/catalogue/carrierexport.h"
#include "core/catalogue/carrierfile.h"
#include "core/catalogue/carrierimport.h"
#include "core/catalogue/carrierkey.h"
#include "core/catalogue/listcsv.h"
#include "core/catalogue/medialist.h"
#include "core/db/dataset.h"
#include "core/settings/settings.h"
#include "core/settings/settingsreferences.h"
#include "core/shell/datadirectorylock.h"
#include "usage.h"

#include <QFile>
#include <QFileInfo>

namespace {

int mediaListUsage() {
    return usagetext::show(
        {QStringLiteral("import"), QStringLiteral("export"), QStringLiteral("carriers")},
        QStringLiteral("TONTRÄGER ist ART:NUMMER (etwa LP:17) oder #N (die Tonträgernummer).\n"));
}

// The list as CSV on standard output, with the window's column titles.
int writeCarriersCsv(Database& db, const QString& sort, bool renamedTitles) {
    return writeToStandardOutput([&](QIODevice* output) {
        const medialist::Query query(db, sort);
        return listcsv::write(db, query, listcsv::carrierTitles(db, renamedTitles), output);
    });
}

} // namespace

int runImportCommand(const QStringList& args) {
    if (args.size() < 2)
        return mediaListUsage();
    DataDirectoryLock lock(args[0], DataDirectoryLock::Mode::Writer);
    Database db;
    if (!openDataSetForWriting(args[0], lock, db))
        return 1;
    Settings settings = dataSetSettings(args[0]);
    try {
        for (const QString& warning : settingsreferences::repair(db, settings))
            err() << "Warnung: " << warning << Qt::endl;
    } catch (const DbError& e) {
        err() << "Fehler: " << e.message() << Qt::endl;
        return 1;
    }
    const int newCurrency = settings.currencyNew;
    bool failed = false;
    for (const QString& file : args.mid(1)) {
        const carrierimport::Outcome o = carrierimport::importFile(db, file, newCurrency);
        if (o.ok) {
            out() << carrierkey::keyOf(db, o.number) << '\t' << o.group << " / " << o.title
                  << Qt::endl;
            if (!o.note.isEmpty())
                out() << "Hinweis: " << o.note << Qt::endl;
        } else {
            err() << o.message << Qt::endl;
            failed = true;
        }
    }
    return failed ? 1 : 0;
}

int runExportCommand(const QStringList& args) {
    QStringList plain;
    bool purchase = false, overwrite = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--kaufdaten"))
            purchase = true;
        else if (a == QLatin1String("--overwrite"))
            overwrite = true;
        else if (a.startsWith(QLatin1String("--")))
            return mediaListUsage();
        else
            plain.append(a);
    }
    if (plain.size() != 3)
        return mediaListUsage();
    Database db;
    if (!openDataSet(plain[0], db))
        return 1;
    const QString path = carrierfile::withDefaultExtension(plain[2]);
    if (QFileInfo::exists(path) && !overwrite) {
        err() << "Fehler: " << path << " ist schon vorhanden (--overwrite ersetzt die Datei)."
              << Qt::endl;
        return 1;
    }
    try {
        const carrierkey::Result key = carrierkey::resolve(db, plain[1]);
        if (!key.ok()) {
            err() << "Fehler: " << key.error << Qt::endl;
            return 1;
        }
        QString error;
        if (!carrierexport::exportToFile(db, key.carrier().number, purchase, path, &error)) {
            err() << "Fehler: " << error << Qt::endl;
            return 1;
        }
        out() << "Exportiert: " << key.carrier().describe() << " -> " << path << Qt::endl;
    } catch (const DbError& e) {
        err() << "Fehler: " << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}

int runCarriersCommand(const QStringList& arguments) {
    QStringList args = arguments;
    const bool csvOutput = args.removeAll(QStringLiteral("--csv")) > 0;
    if (args.size() != 1 && !(args.size() == 3 && args[1] == QLatin1String("--sort")))
        return mediaListUsage();
    Database db;
    if (!openDataSet(args[0], db))
        return 1;
    QString sort = dataSetSettings(args[0]).singerSortOrder; // read only: the window's order
    if (args.size() == 3) {
        sort.clear();
        if (args[2].compare(QLatin1String("Standard"), Qt::CaseInsensitive) != 0) {
            bool found = false;
            for (const medialist::GridColumn& c : medialist::gridColumns()) {
                if (c.title.compare(args[2], Qt::CaseInsensitive) == 0) {
                    sort = c.sortExpression;
                    found = true;
                }
            }
            if (!found) {
                err() << "Fehler: Unbekannte Spalte \"" << args[2] << "\"." << Qt::endl;
                return 2;
            }
        }
    }
    if (csvOutput)
        return writeCarriersCsv(db, sort, dataSetSettings(args[0]).ttRename[0]);
    const auto& columns = medialist::gridColumns();
    QStringList header;
    for (const medialist::GridColumn& c : columns)
        header.append(c.title);
    out() << header.join(QLatin1Char('\t')) << '\n';
    try {
        const medialist::Query query(db, sort);
        // Streamed page by page; no read stays open between pages.
        constexpr int kPage = 500;
        std::vector<medialist::Row> rows = query.rows(0, kPage);
        while (!rows.empty()) {
            for (const medialist::Row& row : rows) {
                QStringList cells;
                for (const medialist::GridColumn& c : columns)
                    cells.append(medialist::displayText(c, row[c.source]));
                out() << cells.join(QLatin1Char('\t')) << '\n';
            }
            if (int(rows.size()) < kPage)
                break;
            rows = query.rowsAfter(rows.back(), kPage);
        }
    } catch (const DbError& e) {
        out().flush();
        err() << "Fehler: " << e.message() << Qt::endl;
        return 1;
    }
    out().flush();
    return 0;
}
