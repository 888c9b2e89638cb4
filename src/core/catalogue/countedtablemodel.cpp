#include "countedtablemodel.h"

CountedTableModel::~CountedTableModel() {
    m_counter.stop();
}

void CountedTableModel::restart(int firstPageRows) {
    m_counter.stop();
    setRows(firstPageRows);
    m_known = firstPageRows < rowsPerPage();
}

void CountedTableModel::countWhenNeeded(Database& db, BackgroundCount::Count count,
                                        std::function<qint64()> countHere) {
    m_countHere = std::move(countHere);
    if (m_known)
        return;
    // Another connection would not see the changes of a transaction still open here.
    if (db.path().isEmpty() || db.inTransaction()) {
        countInPlace();
        return;
    }
    m_counter.start(db.path(), std::move(count), this, [this](std::optional<qint64> counted) {
        if (counted)
            setKnownCount(*counted);
        else
            countInPlace();
    });
}

void CountedTableModel::finishCount() {
    if (m_known)
        return;
    m_counter.stop();
    countInPlace();
}

void CountedTableModel::countInPlace() {
    try {
        setKnownCount(m_countHere ? m_countHere() : m_rows);
    } catch (const DbError&) {
        setKnownCount(m_rows); // the rows read so far stay usable
    }
}

void CountedTableModel::setRows(qint64 rows) {
    m_rows = rows;
    rowsNow(rows);
}

void CountedTableModel::setKnownCount(qint64 count) {
    m_known = true;
    if (count > m_rows) {
        beginInsertRows({}, int(m_rows), int(count - 1));
        setRows(count);
        endInsertRows();
    } else if (count < m_rows) {
        beginRemoveRows({}, int(count), int(m_rows - 1));
        setRows(count);
        endRemoveRows();
    }
    emit countArrived();
}

void CountedTableModel::growTo(qint64 rows) {
    if (m_known || rows <= m_rows)
        return;
    beginInsertRows({}, int(m_rows), int(rows - 1));
    setRows(rows);
    endInsertRows();
}

int CountedTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows);
}

bool CountedTableModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !m_known;
}

void CountedTableModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || m_known)
        return;
    const int size = rowsPerPage();
    const int page = int(m_rows / size);
    int onPage = 0;
    try {
        onPage = rowsOnPage(page);
    } catch (const DbError&) {
        return; // the view asks again; the window reports query errors
    }
    // The page that holds the next row; a short one ends the list.
    const qint64 end = qint64(page) * size + onPage;
    if (end > m_rows) {
        beginInsertRows({}, int(m_rows), int(end - 1));
        setRows(end);
        endInsertRows();
    }
    if (onPage < size) {
        m_counter.stop();
        setKnownCount(qMax(end, m_rows));
    }
}
