#include "listcsv.h"

#include "core/common/csvwriter.h"
#include "core/db/database.h"
#include "fieldlabels.h"

#include <QHash>

namespace listcsv {

namespace {

template <class Columns>
QStringList titlesOf(Database& db, const Columns& columns, bool useRenamed) {
    QHash<int, QString> renamed;
    if (useRenamed) {
        try {
            renamed = fieldlabels::renamed(db);
        } catch (const DbError&) {
        }
    }
    QStringList titles;
    for (const auto& c : columns)
        titles.append(c.labelKey && renamed.contains(c.labelKey)
                          ? fieldlabels::columnTitle(renamed.value(c.labelKey))
                          : c.title);
    return titles;
}

// One statement from first to last row: the database sorts once.
template <class Query, class Columns, class Display>
bool writeRows(Database& db, const Query& query, const Columns& columns, Display display,
               const QStringList& titles, QIODevice* device, const csv::Progress& progress) {
    csv::Writer writer(device);
    if (!writer.writeRow(titles))
        return false;
    const qint64 total = progress ? query.count() : 0;
    Statement s = db.prepare(query.selectSql());
    const QVariantList values = query.filterValues();
    for (int i = 0; i < values.size(); ++i)
        s.bind(i + 1, values[i]);
    QStringList cells;
    qint64 done = 0;
    while (s.next()) {
        cells.clear();
        for (const auto& c : columns)
            cells.append(display(c, s.toVariant(c.source)));
        if (!writer.writeRow(cells))
            return false;
        if (progress && ++done % 512 == 0 && !progress(done, total))
            return false;
    }
    return writer.flush();
}

} // namespace

QStringList carrierTitles(Database& db, bool useRenamed) {
    return titlesOf(db, medialist::gridColumns(), useRenamed);
}

QStringList songTitles(Database& db, bool useRenamed) {
    return titlesOf(db, songlist::gridColumns(), useRenamed);
}

bool write(Database& db, const medialist::Query& query, const QStringList& titles,
           QIODevice* device, const csv::Progress& progress) {
    return writeRows(db, query, medialist::gridColumns(), &medialist::displayText, titles, device,
                     progress);
}

bool write(Database& db, const songlist::Query& query, const QStringList& titles, QIODevice* device,
           const csv::Progress& progress) {
    return writeRows(db, query, songlist::gridColumns(), &songlist::displayText, titles, device,
                     progress);
}

} // namespace listcsv
