#include "columnwidths.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>

namespace columnwidths {

void fit(QTableView& grid, int minimum, int sampleRows, int maximum) {
    const QAbstractItemModel* model = grid.model();
    if (!model)
        return;
    constexpr int kPadding = 24; // room for the cell margins and the sort arrow
    const QFontMetrics titleMetrics = grid.horizontalHeader()->fontMetrics();
    const QFontMetrics cellMetrics = grid.fontMetrics();
    const int rows = std::min(model->rowCount(), sampleRows);
    for (int c = 0; c < model->columnCount(); ++c) {
        const int title = titleMetrics.horizontalAdvance(
            model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
        int cells = 0;
        for (int r = 0; r < rows && cells < maximum; ++r)
            cells = std::max(cells, cellMetrics.horizontalAdvance(
                                        model->index(r, c).data(Qt::DisplayRole).toString()));
        grid.setColumnWidth(
            c, std::max({minimum, title + kPadding, std::min(cells + kPadding, maximum)}));
    }
}

} // namespace columnwidths
