#include "statement.h"

#include "database.h"
#include "statementcache.h"

#include <sqlite3.h>

namespace {
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
}

Statement::Statement(sqlite3* db, QStringView sql) : m_db(db) {
    const QByteArray utf8 = sql.toUtf8();
    m_stmt = statementcache::take(db, utf8);
    if (m_stmt)
        return;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
}

Statement::Statement(Statement&& other) noexcept : m_db(other.m_db), m_stmt(other.m_stmt) {
    other.m_stmt = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        statementcache::give(m_db, m_stmt);
        m_db = other.m_db;
        m_stmt = other.m_stmt;
        other.m_stmt = nullptr;
    }
    return *this;
}

Statement::~Statement() {
    statementcache::give(m_db, m_stmt);
}

void Statement::fail(int rc) const {
    throw Database::errorFor(m_db, rc);
}

Statement& Statement::bindNull(int index) {
    if (const int rc = sqlite3_bind_null(m_stmt, index); rc != SQLITE_OK)
        fail(rc);
    return *this;
}

Statement& Statement::bind(int index, double value) {
    if (const int rc = sqlite3_bind_double(m_stmt, index, value); rc != SQLITE_OK)
        fail(rc);
    return *this;
}

Statement& Statement::bind(int index, qint64 value) {
    if (const int rc = sqlite3_bind_int64(m_stmt, index, value); rc != SQLITE_OK)
        fail(rc);
    return *this;
}

Statement& Statement::bind(int index, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    if (const int rc =
            sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        rc != SQLITE_OK)
        fail(rc);
    return *this;
}

Statement& Statement::bind(int index, const QByteArray& value) {
    if (const int rc = sqlite3_bind_blob(m_stmt, index, value.constData(), int(value.size()),
                                         SQLITE_TRANSIENT);
        rc != SQLITE_OK)
        fail(rc);
    return *this;
}

Statement& Statement::bind(int index, const QDate& value) {
    return value.isValid() ? bind(index, value.toString(kDateFormat)) : bindNull(index);
}

Statement& Statement::bind(int index, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return bindNull(index);
    switch (value.typeId()) {
    case QMetaType::Bool:
        return bind(index, value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Long:
        return bind(index, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return bind(index, value.toDouble());
    case QMetaType::QDate:
        return bind(index, value.toDate());
    case QMetaType::QByteArray:
        return bind(index, value.toByteArray());
    default:
        return bind(index, value.toString());
    }
}

int Statement::parameterIndex(const char* name) const {
    const int index = sqlite3_bind_parameter_index(m_stmt, name);
    if (index == 0)
        throw DbError(DbError::Kind::Other,
                      QStringLiteral("Unbekannter Parameter %1").arg(QString::fromUtf8(name)));
    return index;
}

int Statement::parameterCount() const {
    return sqlite3_bind_parameter_count(m_stmt);
}

bool Statement::next() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    fail(rc);
}

void Statement::run() {
    while (next()) {
    }
    sqlite3_reset(m_stmt);
}

void Statement::reset() {
    sqlite3_reset(m_stmt);
}

int Statement::columnCount() const {
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

double Statement::toDouble(int column) const {
    return sqlite3_column_double(m_stmt, column);
}

qint64 Statement::toInt64(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

QString Statement::toString(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)) : QString();
}

QByteArray Statement::toBlob(int column) const {
    const void* data = sqlite3_column_blob(m_stmt, column);
    return data ? QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(m_stmt, column))
                : QByteArray();
}

QDate Statement::toDate(int column) const {
    if (isNull(column))
        return QDate();
    // Dates are stored as "yyyy-MM-dd": read that form directly, which is far cheaper than
    // the general parser; anything else (and every invalid date) still goes through it.
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    if (text && sqlite3_column_bytes(m_stmt, column) == 10 && text[4] == '-' && text[7] == '-') {
        auto number = [text](int from, int count) {
            int value = 0;
            for (int i = from; i < from + count; ++i) {
                if (text[i] < '0' || text[i] > '9')
                    return -1;
                value = value * 10 + (text[i] - '0');
            }
            return value;
        };
        const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
        if (year > 0 && month > 0 && day > 0) {
            const QDate date(year, month, day);
            if (date.isValid())
                return date;
        }
    }
    return QDate::fromString(toString(column), kDateFormat);
}

QVariant Statement::toVariant(int column) const {
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return toInt64(column);
    case SQLITE_FLOAT:
        return toDouble(column);
    case SQLITE_TEXT:
        return toString(column);
    case SQLITE_BLOB:
        return toBlob(column);
    default:
        return {};
    }
}
