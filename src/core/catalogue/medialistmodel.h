#pragma once

#include "countedtablemodel.h"
#include "medialist.h"

#include <QHash>
#include <QMap>
#include <memory>

// The carrier list as a table model that never holds the whole list: pages of rows read
// when a view asks for them and cached around the rows last shown; the number of rows
// arrives when it is counted. A page that
// follows a cached one is read by seeking past its last row, so scrolling through a long
// list stays fast; other pages are read by position.
class MediaListModel : public CountedTableModel {
    Q_OBJECT
public:
    explicit MediaListModel(QObject* parent = nullptr);
    ~MediaListModel() override;

    void setPageSize(int rows) { m_pageSize = qMax(1, rows); }
    int pageSize() const { return m_pageSize; }
    // Pages kept at most; the ones farthest from the last request are dropped first.
    void setCachedPages(int pages) { m_maxPages = qMax(2, pages); }

    // Runs the query; the list starts over. Throws DbError.
    void setQuery(std::unique_ptr<medialist::Query> query);
    medialist::Query* query() const { return m_query.get(); }
    // Starts the list over and drops the cache (after changes made elsewhere).
    void reload();

    // Column titles; the user's names replace the delivered ones where given.
    void setColumnTitles(const QStringList& titles);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The row at a position, read when not cached; nullptr outside the list.
    const medialist::Row* rowAt(int position) const;
    double carrierNumberAt(int position) const;
    // The position of a carrier in the list, or -1 when it is not there.
    int positionOfCarrier(double carrierNumber) const;
    // Rows read from the database so far (for tests and measurements).
    int pagesRead() const { return m_pagesRead; }

protected:
    int rowsPerPage() const override { return m_pageSize; }
    int rowsOnPage(int number) override;

private:
    const std::vector<medialist::Row>* page(int number) const;
    void trimCache(int keep) const;

    std::unique_ptr<medialist::Query> m_query;
    int m_pageSize = 200;
    int m_maxPages = 6;
    QStringList m_titles;
    mutable QMap<int, std::vector<medialist::Row>> m_pages;
    mutable int m_pagesRead = 0;
};
