#pragma once

#include <QMap>
#include <QtGlobal>
#include <functional>
#include <vector>

// Pages of a long sorted list, read when asked for and cached around the rows last shown. A
// page that follows a cached full one is read by seeking past its last row; other pages by
// position. The fetchers may throw; the page is then not cached.
template <class Row> class PagedRows {
public:
    using ByPosition = std::function<std::vector<Row>(qint64 first, int limit)>;
    using After = std::function<std::vector<Row>(const Row& last, int limit)>;

    void setFetchers(ByPosition byPosition, After after) {
        m_byPosition = std::move(byPosition);
        m_after = std::move(after);
        clear();
    }
    void setCount(qint64 count) { m_count = count; }
    qint64 count() const { return m_count; }
    void setPageSize(int rows) { m_pageSize = qMax(1, rows), clear(); }
    int pageSize() const { return m_pageSize; }
    void setCachedPages(int pages) { m_maxPages = qMax(2, pages); }
    void clear() { m_pages.clear(); }
    int pagesRead() const { return m_pagesRead; }
    // The rows on a page, reading it when not cached; throws like the fetchers.
    int rowsOn(int number) { return int(page(number)->size()); }

    // nullptr outside the list or when reading failed.
    const Row* at(qint64 position) {
        if (position < 0 || position >= m_count || !m_byPosition)
            return nullptr;
        const std::vector<Row>* rows = page(int(position / m_pageSize));
        const size_t offset = size_t(position % m_pageSize);
        return rows && offset < rows->size() ? &(*rows)[offset] : nullptr;
    }

private:
    const std::vector<Row>* page(int number) {
        if (auto it = m_pages.find(number); it != m_pages.end())
            return &it.value();
        std::vector<Row> rows;
        auto previous = m_pages.find(number - 1);
        if (previous != m_pages.end() && int(previous->size()) == m_pageSize && m_after)
            rows = m_after(previous->back(), m_pageSize);
        else
            rows = m_byPosition(qint64(number) * m_pageSize, m_pageSize);
        ++m_pagesRead;
        while (m_pages.size() >= m_maxPages) {
            const int first = m_pages.firstKey();
            const int last = m_pages.lastKey();
            m_pages.remove(qAbs(first - number) > qAbs(last - number) ? first : last);
        }
        return &m_pages.insert(number, std::move(rows)).value();
    }

    ByPosition m_byPosition;
    After m_after;
    qint64 m_count = 0;
    int m_pageSize = 200;
    int m_maxPages = 6;
    QMap<int, std::vector<Row>> m_pages;
    int m_pagesRead = 0;
};
