#include "medialistmodel.h"

using medialist::Row;

MediaListModel::MediaListModel(QObject* parent) : CountedTableModel(parent) {
    for (const medialist::GridColumn& c : medialist::gridColumns())
        m_titles.append(c.title);
}

MediaListModel::~MediaListModel() = default;

void MediaListModel::setQuery(std::unique_ptr<medialist::Query> query) {
    m_query = std::move(query);
    reload();
}

void MediaListModel::reload() {
    beginResetModel();
    m_pages.clear();
    try {
        restart(m_query ? rowsOnPage(0) : 0);
    } catch (...) {
        restart(0);
        endResetModel();
        throw;
    }
    endResetModel();
    if (m_query)
        countWhenNeeded(
            m_query->database(),
            [sort = m_query->sortExpression(), filter = m_query->filter()](Database& db) {
                return medialist::Query(db, sort, filter).count();
            },
            [q = m_query.get()] { return q->count(); });
}

int MediaListModel::rowsOnPage(int number) {
    if (auto it = m_pages.find(number); it != m_pages.end())
        return int(it->size());
    std::vector<Row> rows = m_query->rows(qint64(number) * m_pageSize, m_pageSize);
    ++m_pagesRead;
    trimCache(number);
    return int(m_pages.insert(number, std::move(rows))->size());
}

void MediaListModel::setColumnTitles(const QStringList& titles) {
    m_titles = titles;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int MediaListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(medialist::gridColumns().size());
}

QVariant MediaListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const medialist::GridColumn& column = medialist::gridColumns().at(size_t(index.column()));
    if (role == Qt::TextAlignmentRole) {
        const bool right =
            column.format != medialist::Format::Text && column.format != medialist::Format::Date;
        return int((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole)
        return {};
    const Row* row = rowAt(index.row());
    return row ? medialist::displayText(column, (*row)[column.source]) : QVariant();
}

QVariant MediaListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_titles.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

const std::vector<Row>* MediaListModel::page(int number) const {
    if (auto it = m_pages.find(number); it != m_pages.end())
        return &it.value();
    if (!m_query)
        return nullptr;
    std::vector<Row> rows;
    try {
        auto previous = m_pages.find(number - 1);
        if (previous != m_pages.end() && int(previous->size()) == m_pageSize)
            rows = m_query->rowsAfter(previous->back(), m_pageSize);
        else
            rows = m_query->rows(qint64(number) * m_pageSize, m_pageSize);
    } catch (const DbError&) {
        return nullptr; // a view asks again when it paints; the window reports query errors
    }
    ++m_pagesRead;
    trimCache(number);
    return &m_pages.insert(number, std::move(rows)).value();
}

void MediaListModel::trimCache(int keep) const {
    while (m_pages.size() >= m_maxPages) {
        const int first = m_pages.firstKey();
        const int last = m_pages.lastKey();
        m_pages.remove(qAbs(first - keep) > qAbs(last - keep) ? first : last);
    }
}

const Row* MediaListModel::rowAt(int position) const {
    if (position < 0 || position >= rows())
        return nullptr;
    const std::vector<Row>* rows = page(position / m_pageSize);
    const size_t offset = size_t(position % m_pageSize);
    return rows && offset < rows->size() ? &(*rows)[offset] : nullptr;
}

double MediaListModel::carrierNumberAt(int position) const {
    const Row* row = rowAt(position);
    return row ? (*row)[medialist::Number].toDouble() : 0;
}

int MediaListModel::positionOfCarrier(double carrierNumber) const {
    if (!m_query)
        return -1;
    const std::optional<Row> row = m_query->rowOf(carrierNumber);
    return row ? int(m_query->positionOf(*row)) : -1;
}
