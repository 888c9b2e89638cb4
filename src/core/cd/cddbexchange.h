#pragma once

#include <QByteArray>
#include <QString>

// One conversation with a CDDB server, without any socket: it is told what arrived and
// says what to send next. Stages: greeting, hello, protocol level, the command, quit. A
// reply is complete at its line end, a list at its terminating "." line; an error reply
// (4xx, 5xx) ends the stage at once. Over HTTP only the command's reply is fed in (one
// body per request), the other stages are part of the request.
class CddbExchange {
public:
    enum class Command { Query, Read, Sites };
    enum class Stage { Connecting, Greeting, Hello, Proto, Command, Quit, Finished };
    // Server: a 5xx reply after the greeting, shown with the server's own text.
    enum class Failure { None, Connection, Command, Server };
    // The level asked for after the hello: records are UTF-8 there and queries may answer
    // with a 210 list.
    static constexpr int kProtocolLevel = 6;

    CddbExchange(Command command, QByteArray commandLine, QString userName, QString localHost);

    // The connection is open: the exchange now waits for the greeting.
    void connected();
    // The command goes out as an HTTP request: the next bytes are its reply body.
    void startHttp();
    // The HTTP body is complete.
    void bodyEnded();
    // The HTTP server could not be reached.
    void connectionFailed() {
        if (!finished())
            fail(Failure::Connection);
    }
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
    // The complete reply to the command: UTF-8 at protocol level 6 (a line that is not UTF-8
    // read as Windows-1252), otherwise ISO-8859-1.
    const QString& reply() const { return m_reply; }
    int protocolLevel() const { return m_level; }

    // The request of an HTTP server for this exchange's command:
    // "cmd=cddb+query+...&hello=NAME+HOST+WinDsKm32+1.5.0&proto=6".
    QByteArray httpQuery() const;

    // The command lines of the protocol.
    // An e-mail address as user name sends its local part and domain, a plain name the
    // name and the local host name.
    static QByteArray helloLine(const QString& user, const QString& host);
    static QStringList helloWords(const QString& user, const QString& host);
    static QByteArray protoLine();
    static QByteArray queryLine(quint32 discId, int tracks, const QList<qint32>& frameOffsets,
                                qint32 leadOutSeconds);
    static QByteArray readLine(const QString& category, const QString& discId);
    static QByteArray sitesLine();
    static QByteArray quitLine();

private:
    enum class Completeness { Incomplete, Complete };
    Completeness replyState() const;
    QByteArray fail(Failure failure);
    QByteArray advance();
    QString decode(const QByteArray& bytes) const;

    Command m_command;
    QByteArray m_commandLine;
    QString m_user;
    QString m_host;
    Stage m_stage = Stage::Connecting;
    Failure m_failure = Failure::None;
    bool m_commandDone = false;
    bool m_http = false;
    int m_level = 1;
    QString m_serverText;
    QByteArray m_buffer;
    QString m_status;
    QString m_reply;
};
