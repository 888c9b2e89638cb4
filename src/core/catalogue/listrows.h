#pragma once

#include "core/db/database.h"

#include <QVariantList>
#include <vector>

// The rows of a list query (carriers or songs) with their bound values, each as many
// columns as the row type holds.
template <class Row>
std::vector<Row> readListRows(Database& db, const QString& sql, const QVariantList& values) {
    Statement s = db.prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        s.bind(i + 1, values[i]);
    std::vector<Row> rows;
    while (s.next()) {
        Row row;
        for (size_t c = 0; c < row.size(); ++c)
            row[c] = s.toVariant(int(c));
        rows.push_back(std::move(row));
    }
    return rows;
}
