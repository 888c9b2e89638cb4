#pragma once

#include <QByteArray>
#include <QString>

// One conversation with a CDDB server, without any socket: it is told what arrived and
// says what to send next. Stages: greeting, hello, the command, quit. A reply is complete
// at its line end, a list at its terminating "." line; an error reply (4xx, 5xx) ends the
// stage at once.
class CddbExchange {
public:
    enum class Command { Query, Read, Sites };
    enum class Stage { Connecting, Greeting, Hello, Command, Quit, Finished };
    enum class Failure { None, Connection, Command };

    CddbExchange(Command command, QByteArray commandLine, QString userName, QString localHost);

    // The connection is open: the exchange now waits for the greeting.
    void connected();
    // Feeds received bytes; returns what must be sent now (may be empty).
    QByteArray received(QByteArrayView bytes);
    // The server closed the connection, or it went silent too long.
    void connectionClosed();
    void timedOut();

    Stage stage() const { return m_stage; }
    bool finished() const { return m_stage == Stage::Finished; }
    bool succeeded() const { return finished() && m_failure == Failure::None && m_commandDone; }
    Failure failure() const { return m_failure; }
    // The message for the user when the exchange failed.
    QString failureMessage() const;
    // The status line text ("Verbunden mit ...", "Empfange Query-Liste", ...).
    const QString& status() const { return m_status; }
    // The complete reply to the command, decoded as ISO-8859-1.
    const QString& reply() const { return m_reply; }

    // The command lines of the protocol.
    static QByteArray helloLine(const QString& user, const QString& host);
    static QByteArray queryLine(quint32 discId, int tracks, const QList<qint32>& frameOffsets,
                                qint32 leadOutSeconds);
    static QByteArray readLine(const QString& category, const QString& discId);
    static QByteArray sitesLine();
    static QByteArray quitLine();

private:
    enum class Completeness { Incomplete, Complete };
    Completeness replyState() const;
    void fail(Failure failure);
    QByteArray advance();

    Command m_command;
    QByteArray m_commandLine;
    QString m_user;
    QString m_host;
    Stage m_stage = Stage::Connecting;
    Failure m_failure = Failure::None;
    bool m_commandDone = false;
    QByteArray m_buffer;
    QString m_status;
    QString m_reply;
};
