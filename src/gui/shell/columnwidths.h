#pragma once

class QTableView;

// Column widths of a list that reads its rows page by page: wide enough for the title and
// for the first rows (measuring every row would read the whole list), but never wider than
// maximum, so that one long entry does not push the other columns out of sight.
namespace columnwidths {

void fit(QTableView& grid, int minimum, int sampleRows = 40, int maximum = 320);

} // namespace columnwidths
