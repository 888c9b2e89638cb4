#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// A failed database operation. A primary-key violation is its own kind, so callers can
// retry with another key or say what is wrong; a file another process is writing is no
// damage and says so. The message is German where the user can act on it, with SQLite's
// text in brackets.
class DbError : public std::exception {
public:
    enum class Kind { KeyViolation, NotADatabase, Busy, Other };

    DbError(Kind kind, QString message, int sqliteCode = 0)
        : m_kind(kind), m_message(std::move(message)), m_code(sqliteCode),
          m_what(m_message.toUtf8()) {}

    Kind kind() const { return m_kind; }
    bool isKeyViolation() const { return m_kind == Kind::KeyViolation; }
    bool isBusy() const { return m_kind == Kind::Busy; }
    const QString& message() const { return m_message; }
    int sqliteCode() const { return m_code; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    Kind m_kind;
    QString m_message;
    int m_code;
    QByteArray m_what;
};
