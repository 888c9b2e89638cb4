#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// A prepared SQL statement. Parameters are numbered from 1 or named (":Key"); columns
// from 0. Dates are stored as "yyyy-MM-dd" text so that SQL compares them in date order.
class Statement {
public:
    Statement(sqlite3* db, QStringView sql);
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    Statement& bindNull(int index);
    Statement& bind(int index, double value);
    Statement& bind(int index, qint64 value);
    Statement& bind(int index, int value) { return bind(index, qint64(value)); }
    Statement& bind(int index, bool value) { return bind(index, qint64(value ? 1 : 0)); }
    Statement& bind(int index, const QString& value);
    Statement& bind(int index, const QByteArray& value); // a blob
    Statement& bind(int index, const QDate& value);      // null date -> NULL
    Statement& bind(int index, const QVariant& value);
    template <class T> Statement& bind(int index, const std::optional<T>& value) {
        return value ? bind(index, *value) : bindNull(index);
    }
    template <class T> Statement& bind(const char* name, const T& value) {
        return bind(parameterIndex(name), value);
    }
    int parameterIndex(const char* name) const;
    int parameterCount() const;

    // Steps to the next row; false when there is none.
    bool next();
    // Runs a statement that returns no rows (or ignores them).
    void run();
    // Makes the statement ready to run again; bindings stay.
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    double toDouble(int column) const;
    qint64 toInt64(int column) const;
    QString toString(int column) const;
    QByteArray toBlob(int column) const;
    QDate toDate(int column) const;
    QVariant toVariant(int column) const;

private:
    [[noreturn]] void fail(int rc) const;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};
