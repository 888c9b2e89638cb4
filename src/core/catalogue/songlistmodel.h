#pragma once

#include "countedtablemodel.h"
#include "pagedrows.h"
#include "songlist.h"

#include <memory>

// The song list as a table model that never holds the whole list: pages of rows read when a
// view asks for them; the number of rows arrives when it is counted.
class SongListModel : public CountedTableModel {
    Q_OBJECT
public:
    explicit SongListModel(QObject* parent = nullptr);
    ~SongListModel() override;

    void setPageSize(int rows) { m_rows.setPageSize(rows); }
    void setCachedPages(int pages) { m_rows.setCachedPages(pages); }

    // Runs the query; the list starts over. Throws DbError.
    void setQuery(std::unique_ptr<songlist::Query> query);
    songlist::Query* query() const { return m_query.get(); }
    void setColumnTitles(const QStringList& titles);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const songlist::Row* rowAt(int position) const;
    int carrierNumberAt(int position) const;
    // The position of a song in the list, or -1.
    int positionOf(const songlist::SongKey& key) const;
    int pagesRead() const { return m_rows.pagesRead(); }

protected:
    int rowsPerPage() const override { return m_rows.pageSize(); }
    int rowsOnPage(int number) override { return m_rows.rowsOn(number); }
    void rowsNow(qint64 rows) override { m_rows.setCount(rows); }

private:
    std::unique_ptr<songlist::Query> m_query;
    QStringList m_titles;
    mutable PagedRows<songlist::Row> m_rows;
};
