#pragma once

#include "database.h"
#include "records.h"
#include "schema.h"

#include <QVariantList>
#include <vector>

// Generic reading and writing of the record structs of records.h. Columns are bound and
// read in table order; alpha values longer than their field are cut to its size.
namespace records {

// Binding and reading of single values by field type.
void bindValue(Statement& s, int index, const QString& value, const schema::Field& field);
void bindValue(Statement& s, int index, double value, const schema::Field& field);
void bindValue(Statement& s, int index, qint16 value, const schema::Field& field);
void bindValue(Statement& s, int index, qint32 value, const schema::Field& field);
void bindValue(Statement& s, int index, bool value, const schema::Field& field);
void bindValue(Statement& s, int index, const QDate& value, const schema::Field& field);
void bindValue(Statement& s, int index, const QByteArray& value, const schema::Field& field);
template <class T>
void bindValue(Statement& s, int index, const std::optional<T>& value, const schema::Field& field) {
    if (value)
        bindValue(s, index, *value, field);
    else
        s.bindNull(index);
}

void readValue(const Statement& s, int column, QString& value);
void readValue(const Statement& s, int column, double& value);
void readValue(const Statement& s, int column, qint16& value);
void readValue(const Statement& s, int column, qint32& value);
void readValue(const Statement& s, int column, bool& value);
void readValue(const Statement& s, int column, QDate& value);
void readValue(const Statement& s, int column, QByteArray& value);
template <class T> void readValue(const Statement& s, int column, std::optional<T>& value) {
    if (s.isNull(column)) {
        value.reset();
    } else {
        T v{};
        readValue(s, column, v);
        value = v;
    }
}

// SQL of the generic operations.
QString columnList(const schema::Table& table);
QString selectSql(const schema::Table& table); // "SELECT <all columns> FROM <table>"
QString insertSql(const schema::Table& table);
QString keyCondition(const schema::Table& table, int firstParameter); // "k1" = ?n AND ...

template <class R> const schema::Table& tableOf() {
    return schema::table(QString::fromLatin1(R::kTable));
}

// Binds every field of the record from parameter firstParameter on.
template <class R>
void bindRecord(Statement& s, const R& record, const schema::Table& table, int firstParameter = 1) {
    int i = 0;
    R::forEachField(record, [&](const auto& value) {
        bindValue(s, firstParameter + i, value, table.fields[i]);
        ++i;
    });
}

// Binds the primary key fields of the record from parameter firstParameter on.
template <class R>
void bindKey(Statement& s, const R& record, const schema::Table& table, int firstParameter = 1) {
    int i = 0;
    R::forEachField(record, [&](const auto& value) {
        if (i < table.primaryKeyFields)
            bindValue(s, firstParameter + i, value, table.fields[i]);
        ++i;
    });
}

// Reads a record from the current row, whose columns from firstColumn on are the table's.
template <class R> R readRecord(const Statement& s, int firstColumn = 0) {
    R record;
    int i = firstColumn;
    R::forEachField(record, [&](auto& value) { readValue(s, i++, value); });
    return record;
}

// Inserts records with one prepared statement; a duplicate primary key throws a
// DbError of kind KeyViolation.
template <class R> class Inserter {
public:
    explicit Inserter(Database& db, const schema::Table& table = tableOf<R>())
        : m_table(table), m_statement(db.prepare(insertSql(table))) {}
    void insert(const R& record) {
        bindRecord(m_statement, record, m_table);
        m_statement.run();
    }

private:
    const schema::Table& m_table;
    Statement m_statement;
};

template <class R>
void insert(Database& db, const R& record, const schema::Table& table = tableOf<R>()) {
    Inserter<R>(db, table).insert(record);
}

// Records matching the SQL tail ("WHERE ... ORDER BY ..."), with positional parameters.
template <class R>
std::vector<R> select(Database& db, QStringView tail = {}, const QVariantList& parameters = {},
                      const schema::Table& table = tableOf<R>()) {
    Statement s = db.prepare(selectSql(table) + QLatin1Char(' ') + tail.toString());
    for (int i = 0; i < parameters.size(); ++i)
        s.bind(i + 1, parameters[i]);
    std::vector<R> rows;
    while (s.next())
        rows.push_back(readRecord<R>(s));
    return rows;
}

// The record with the primary key of keyRecord, if any.
template <class R>
std::optional<R> find(Database& db, const R& keyRecord, const schema::Table& table = tableOf<R>()) {
    Statement s = db.prepare(selectSql(table) + QStringLiteral(" WHERE ") + keyCondition(table, 1));
    bindKey(s, keyRecord, table);
    if (!s.next())
        return std::nullopt;
    return readRecord<R>(s);
}

// Replaces the record whose primary key is that of oldKey by record (the key may change).
// Returns the number of records changed.
template <class R>
int update(Database& db, const R& oldKey, const R& record,
           const schema::Table& table = tableOf<R>()) {
    QStringList assignments;
    for (int i = 0; i < int(table.fields.size()); ++i)
        assignments.append(schema::quoted(table.fields[i].name) +
                           QStringLiteral(" = ?%1").arg(i + 1));
    Statement s =
        db.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                       .arg(schema::quoted(table.name), assignments.join(QStringLiteral(", ")),
                            keyCondition(table, int(table.fields.size()) + 1)));
    bindRecord(s, record, table);
    bindKey(s, oldKey, table, int(table.fields.size()) + 1);
    s.run();
    return db.changes();
}

// Deletes the record with the primary key of keyRecord; returns the number deleted.
template <class R>
int remove(Database& db, const R& keyRecord, const schema::Table& table = tableOf<R>()) {
    Statement s = db.prepare(QStringLiteral("DELETE FROM %1 WHERE %2")
                                 .arg(schema::quoted(table.name), keyCondition(table, 1)));
    bindKey(s, keyRecord, table);
    s.run();
    return db.changes();
}

// The next key of a numbered table: the highest value of the field plus 1, or 1 when the
// table is empty (carrier numbers, lookup keys, currency keys, borrowers). An optional
// condition restricts the rows considered ("\"Type\" = 2").
double nextKey(Database& db, const schema::Table& table, QStringView field,
               QStringView condition = {}, const QVariantList& parameters = {});

qint64 count(Database& db, const schema::Table& table);
// True when the table holds at least one row; reads one row, not the whole table.
bool hasRows(Database& db, const schema::Table& table);

} // namespace records
