#pragma once

#include "pagedrows.h"
#include "songlist.h"

#include <QAbstractTableModel>
#include <memory>

// The song list as a table model that never holds the whole list: one COUNT, then pages of
// rows read when a view asks for them.
class SongListModel : public QAbstractTableModel {
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

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const songlist::Row* rowAt(int position) const;
    int carrierNumberAt(int position) const;
    // The position of a song in the list, or -1.
    int positionOf(const songlist::SongKey& key) const;
    int pagesRead() const { return m_rows.pagesRead(); }

private:
    std::unique_ptr<songlist::Query> m_query;
    QStringList m_titles;
    mutable PagedRows<songlist::Row> m_rows;
};
