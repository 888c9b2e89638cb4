#pragma once

#include "backgroundcount.h"

#include <QAbstractTableModel>
#include <functional>

// A table model over a long list read page by page whose first screen does not wait for the
// number of rows: the first page is read at once, the rows are counted on a thread of their
// own meanwhile, and until the number is known the model holds the rows read so far and
// fetches the next page as the view scrolls. A view's canFetchMore() tells that the count is
// still running.
class CountedTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    ~CountedTableModel() override;

    // False while the number of rows is still being counted.
    bool countKnown() const { return m_known; }
    // Makes the first rows (known to exist) part of the model before the count is known.
    void growTo(qint64 rows);
    // Counts here and now when the count still runs (for a move to the last row).
    void finishCount();

    int rowCount(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    void countArrived();

protected:
    // Inside a model reset: the list now starts with the first page, of firstPageRows rows.
    void restart(int firstPageRows);
    // After the reset: counts through count on a connection of its own to db's file when
    // the first page was full; countHere when that cannot be (no file, an open transaction
    // whose changes another connection would not see, or the count failed there).
    void countWhenNeeded(Database& db, BackgroundCount::Count count,
                         std::function<qint64()> countHere);
    qint64 rows() const { return m_rows; }

    virtual int rowsPerPage() const = 0;
    // The rows on a page, reading it; throws DbError.
    virtual int rowsOnPage(int number) = 0;
    // The number of rows changed (the model's signals are sent by the caller).
    virtual void rowsNow(qint64 /*rows*/) {}

private:
    void setKnownCount(qint64 count);
    void countInPlace();
    void setRows(qint64 rows);

    qint64 m_rows = 0;
    bool m_known = true;
    std::function<qint64()> m_countHere;
    BackgroundCount m_counter;
};
