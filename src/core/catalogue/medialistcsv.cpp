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

bool write(const medialist::Query& query, const QStringList& titles, QIODevice* device) {
    csv::Writer writer(device);
    if (!writer.writeRow(titles))
        return false;
    const auto& columns = medialist::gridColumns();
    // Page by page; no read stays open between pages.
    constexpr int kPage = 500;
    std::vector<medialist::Row> rows = query.rows(0, kPage);
    QStringList cells;
    while (!rows.empty()) {
        for (const medialist::Row& row : rows) {
            cells.clear();
            for (const medialist::GridColumn& c : columns)
                cells.append(medialist::displayText(c, row[c.source]));
            if (!writer.writeRow(cells))
                return false;
        }
        if (int(rows.size()) < kPage)
            break;
        rows = query.rowsAfter(rows.back(), kPage);
    }
    return true;
}

} // namespace medialistcsv
