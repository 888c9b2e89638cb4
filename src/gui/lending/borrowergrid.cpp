#include "borrowergrid.h"

#include "core/lending/borrowers.h"

#include <QHeaderView>
#include <algorithm>

BorrowerGrid::BorrowerGrid(QWidget* parent) : QTableWidget(parent) {
    QStringList titles;
    for (const borrowers::TextField& f : borrowers::textFields())
        titles << QString::fromUtf8(f.name);
    setColumnCount(int(titles.size()));
    setHorizontalHeaderLabels(titles);
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setResizeContentsPrecision(40);
}

void BorrowerGrid::reload(Database& db, int keepNumber) {
    const int oldRow = currentRow();
    if (keepNumber == 0)
        keepNumber = currentNumber();
    const std::vector<BorrowerRecord> rows = borrowers::all(db);
    setRowCount(0);
    setRowCount(int(rows.size()));
    const auto& fields = borrowers::textFields();
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < int(fields.size()); ++c) {
            auto* item = new QTableWidgetItem(rows[size_t(r)].*fields[size_t(c)].member);
            if (c == 0)
                item->setData(Qt::UserRole, qRound(rows[size_t(r)].folgenummer));
            setItem(r, c, item);
        }
    }
    resizeColumnsToContents();
    selectNumber(keepNumber);
    if (currentRow() < 0 && rowCount() > 0) // the borrower is gone: its neighbour
        selectRow(std::clamp(oldRow, 0, rowCount() - 1));
}

int BorrowerGrid::currentNumber() const {
    const int row = currentRow();
    const QTableWidgetItem* i = row >= 0 ? item(row, 0) : nullptr;
    return i ? i->data(Qt::UserRole).toInt() : 0;
}

void BorrowerGrid::selectNumber(int number) {
    for (int r = 0; r < rowCount(); ++r)
        if (item(r, 0)->data(Qt::UserRole).toInt() == number) {
            selectRow(r);
            return;
        }
}
