#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace schema {
struct Table;
}

// Writes Paradox table files (.DB with its .MB) through pxlib's writer, so tests and
// benchmarks make their own source data sets. A null QVariant is an empty field.
namespace paradoxwriter {

struct Column {
    QString name;
    int type = 0; // the file's type code: 0x01 alpha, 0x02 date, 0x06 number ...
    int size = 0; // bytes in the record (memo and graphic: leader + 10)
};

struct TableLayout {
    QString fileName; // "MUSIKKOP.DB"; the memo file gets the same base name
    std::vector<Column> columns;
    int primaryKeyFields = 0;
    int codePage = 1252;
};

// The layout of a schema table, optionally only its first fieldCount fields.
TableLayout schemaLayout(const schema::Table& table, int codePage = 1252, int fieldCount = -1);

// Values: QString (alpha, memo), QDate, QTime, QDateTime, double, qint64/int, bool,
// QByteArray (graphic: the picture, which gets the 8-byte graphic header; binary, bytes).
class TableWriter {
public:
    TableWriter();
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    // False with error set when pxlib refuses.
    bool open(const QString& directory, const TableLayout& layout, QString* error);
    void addRow(const QVariantList& values);
    // Closes the files and pads the memo file to whole 4 KB blocks.
    void close();

private:
    struct State;
    std::unique_ptr<State> m;
};

// Writes one table with its rows; false with error set.
bool writeTable(const QString& directory, const TableLayout& layout,
                const std::vector<QVariantList>& rows, QString* error);

// Writes every schema table empty except those given rows (by table name, "MUSIKKOP").
bool writeDataSet(const QString& directory,
                  const std::vector<std::pair<QString, std::vector<QVariantList>>>& rows,
                  int codePage = 1252, QString* error = nullptr);

} // namespace paradoxwriter
