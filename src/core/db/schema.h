#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// Every table of the data set: names, fields in their order with type and size, primary
// key and named secondary indexes. Each table lives in the database under its base name
// ("MUSIKKOP" for "MUSIKKOP.DB"); names resolve without regard to letter case.
namespace schema {

enum class FieldType { Alpha, Number, Money, Short, Long, Date, Logical, Memo, Graphic };

struct Field {
    QString name;
    FieldType type;
    int size = 0; // characters of an alpha field
};

struct Index {
    QString name;
    QStringList fields;
    QString collation = QStringLiteral("GERMAN"); // of its text fields
};

struct Table {
    QString name;     // base name in the database: "MUSIKKOP"
    QString fileName; // as messages write it: "MUSIKKOP.DB"
    std::vector<Field> fields;
    int primaryKeyFields = 0; // the leading fields that form the primary key
    std::vector<Index> indexes;

    int fieldIndex(QStringView fieldName) const; // -1 when absent
    QStringList primaryKey() const;
};

const std::vector<Table>& tables();
// Tables this program added to the data set: no Paradox file and no start-up message of
// their own; created where an older data set lacks them.
const std::vector<Table>& addedTables();

// Resolves "MUSIKKOP", "MusikKop.DB", "musikkop.db", "Currency.db" alike, added tables too;
// nullptr when unknown.
const Table* find(QStringView name);
// Like find, but a missing table is a programming error.
const Table& table(QStringView name);

// The lookup tables that share one layout, in the order of their kinds 0..7:
// media types, states, music directions, dance styles, then the four video lookups.
const QStringList& lookupTables();

// "\"Name\"" with embedded quotes doubled.
QString quoted(QStringView identifier);
// The declared SQL type of a field ("VARCHAR(50)", "DOUBLE", "MONEY REAL", ...).
QString declaredType(const Field& field);
QString createTableSql(const Table& table);
// Database-wide index name: the table's base name, a dot and the index name.
QString indexSqlName(const Table& table, const Index& index);
QString createIndexSql(const Table& table, const Index& index);

} // namespace schema
