#include "songlistmodel.h"

SongListModel::SongListModel(QObject* parent) : CountedTableModel(parent) {
    for (const songlist::GridColumn& c : songlist::gridColumns())
        m_titles.append(c.title);
}

SongListModel::~SongListModel() = default;

void SongListModel::setQuery(std::unique_ptr<songlist::Query> query) {
    beginResetModel();
    m_query = std::move(query);
    songlist::Query* q = m_query.get();
    m_rows.setFetchers(
        [q](qint64 first, int limit) { return q->rows(first, limit); },
        [q](const songlist::Row& last, int limit) { return q->rowsAfter(last, limit); });
    try {
        restart(q ? m_rows.rowsOn(0) : 0);
    } catch (...) {
        restart(0);
        endResetModel();
        throw;
    }
    endResetModel();
    if (q)
        countWhenNeeded(
            q->database(),
            [sort = q->sortExpression(), filter = q->filter()](Database& db) {
                return songlist::Query(db, sort, filter).count();
            },
            [q] { return q->count(); });
}

void SongListModel::setColumnTitles(const QStringList& titles) {
    m_titles = titles;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int SongListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(songlist::gridColumns().size());
}

QVariant SongListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const songlist::GridColumn& column = songlist::gridColumns().at(size_t(index.column()));
    if (role == Qt::TextAlignmentRole) {
        const bool right = column.format != medialist::Format::Text;
        return int((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole)
        return {};
    const songlist::Row* row = rowAt(index.row());
    return row ? songlist::displayText(column, (*row)[column.source]) : QVariant();
}

QVariant SongListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_titles.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

const songlist::Row* SongListModel::rowAt(int position) const {
    try {
        return m_rows.at(position);
    } catch (const DbError&) {
        return nullptr; // a view asks again when it paints; the window reports query errors
    }
}

int SongListModel::carrierNumberAt(int position) const {
    const songlist::Row* row = rowAt(position);
    return row ? int((*row)[songlist::Carrier].toDouble()) : 0;
}

int SongListModel::positionOf(const songlist::SongKey& key) const {
    if (!m_query)
        return -1;
    const std::optional<songlist::Row> row = m_query->rowOf(key);
    return row ? int(m_query->positionOf(*row)) : -1;
}
