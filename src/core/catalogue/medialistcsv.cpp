#include "medialistcsv.h"

#include "core/common/csvwriter.h"
#include "core/db/database.h"
#include "fieldlabels.h"

#include <QHash>

namespace medialistcsv {

QStringList columnTitles(Database& db, bool useRenamed) {
    QHash<int, QString> renamed;
    if (useRenamed) {
        try {
            renamed = fieldlabels::renamed(db);
        } catch (const DbError&) {
        }
    }
    QStringList titles;
    for (const medialist::GridColumn& c : medialist::gridColumns())
        titles.append(c.labelKey && renamed.contains(c.labelKey)
                          ? fieldlabels::columnTitle(renamed.value(c.labelKey))
                          : c.title);
    return titles;
}

bool write(Database& db, const medialist::Query& query, const QStringList& titles,
           QIODevice* device, const csv::Progress& progress) {
    csv::Writer writer(device);
    if (!writer.writeRow(titles))
        return false;
    const qint64 total = progress ? query.count() : 0;
    const auto& columns = medialist::gridColumns();
    // One statement from first to last row: the database sorts once.
    Statement s = db.prepare(query.selectSql());
    const QVariantList& values = query.filterValues();
    for (int i = 0; i < values.size(); ++i)
        s.bind(i + 1, values[i]);
    medialist::Row row;
    QStringList cells;
    qint64 done = 0;
    while (s.next()) {
        for (const medialist::GridColumn& c : columns)
            row[size_t(c.source)] = s.toVariant(c.source);
        cells.clear();
        for (const medialist::GridColumn& c : columns)
            cells.append(medialist::displayText(c, row[size_t(c.source)]));
        if (!writer.writeRow(cells))
            return false;
        if (progress && ++done % 512 == 0 && !progress(done, total))
            return false;
    }
    return writer.flush();
}

} // namespace medialistcsv
