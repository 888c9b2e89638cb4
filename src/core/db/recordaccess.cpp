#include "recordaccess.h"

namespace records {

void bindValue(Statement& s, int index, const QString& value, const schema::Field& field) {
    s.bind(index, field.size > 0 && value.size() > field.size ? value.left(field.size) : value);
}
void bindValue(Statement& s, int index, double value, const schema::Field&) {
    s.bind(index, value);
}
void bindValue(Statement& s, int index, qint16 value, const schema::Field&) {
    s.bind(index, qint64(value));
}
void bindValue(Statement& s, int index, qint32 value, const schema::Field&) {
    s.bind(index, qint64(value));
}
void bindValue(Statement& s, int index, bool value, const schema::Field&) {
    s.bind(index, value);
}
void bindValue(Statement& s, int index, const QDate& value, const schema::Field&) {
    s.bind(index, value);
}
void bindValue(Statement& s, int index, const QByteArray& value, const schema::Field&) {
    if (value.isNull())
        s.bindNull(index);
    else
        s.bind(index, value);
}

void readValue(const Statement& s, int column, QString& value) {
    value = s.toString(column);
}
void readValue(const Statement& s, int column, double& value) {
    value = s.toDouble(column);
}
void readValue(const Statement& s, int column, qint16& value) {
    value = qint16(s.toInt64(column));
}
void readValue(const Statement& s, int column, qint32& value) {
    value = qint32(s.toInt64(column));
}
void readValue(const Statement& s, int column, bool& value) {
    value = s.toInt64(column) != 0;
}
void readValue(const Statement& s, int column, QDate& value) {
    value = s.toDate(column);
}
void readValue(const Statement& s, int column, QByteArray& value) {
    value = s.toBlob(column);
}

QString columnList(const schema::Table& table) {
    QStringList names;
    for (const schema::Field& f : table.fields)
        names.append(schema::quoted(f.name));
    return names.join(QStringLiteral(", "));
}

QString selectSql(const schema::Table& table) {
    return QStringLiteral("SELECT %1 FROM %2").arg(columnList(table), schema::quoted(table.name));
}

QString insertSql(const schema::Table& table) {
    QStringList marks;
    for (int i = 1; i <= int(table.fields.size()); ++i)
        marks.append(QStringLiteral("?%1").arg(i));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(schema::quoted(table.name), columnList(table), marks.join(QStringLiteral(", ")));
}

QString keyCondition(const schema::Table& table, int firstParameter) {
    QStringList parts;
    for (int i = 0; i < table.primaryKeyFields; ++i)
        parts.append(schema::quoted(table.fields[i].name) +
                     QStringLiteral(" = ?%1").arg(firstParameter + i));
    return parts.join(QStringLiteral(" AND "));
}

double nextKey(Database& db, const schema::Table& table, QStringView field, QStringView condition,
               const QVariantList& parameters) {
    Statement s =
        db.prepare(QStringLiteral("SELECT MAX(%1) FROM %2 %3")
                       .arg(schema::quoted(field), schema::quoted(table.name),
                            condition.isEmpty() ? QString()
                                                : QStringLiteral("WHERE ") + condition.toString()));
    for (int i = 0; i < parameters.size(); ++i)
        s.bind(i + 1, parameters[i]);
    if (!s.next() || s.isNull(0))
        return 1;
    return s.toDouble(0) + 1;
}

qint64 count(Database& db, const schema::Table& table) {
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(schema::quoted(table.name)))
        .toLongLong();
}

bool hasRows(Database& db, const schema::Table& table) {
    return db
        .scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1)").arg(schema::quoted(table.name)))
        .toBool();
}

} // namespace records
