#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QTcpServer>
#include <functional>

// A small HTTP/1.1 server on 127.0.0.1 for tests: each request gets a recorded reply, found
// by its whole target ("/path?query") or else by its path; unknown targets get 404. One
// request per connection.
class FakeHttpServer : public QObject {
    Q_OBJECT
public:
    struct Reply {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "text/plain; charset=utf-8";
        int delayMs = 0; // the reply waits this long (a slow server)
    };
    struct Request {
        QByteArray target; // "/path?query", as sent
        QByteArray userAgent;
        qint64 atMs = 0; // when it arrived, on the server's clock
    };

    explicit FakeHttpServer(QObject* parent = nullptr);

    quint16 port() const { return m_server.serverPort(); }
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(port()); }

    QMap<QByteArray, Reply> replies;
    // Asked first when set; a reply with status 0 falls back to the table.
    std::function<Reply(const QByteArray& target)> handler;

    const QList<Request>& requests() const { return m_requests; }

private:
    void answer(class QTcpSocket* client, const QByteArray& head);
    QTcpServer m_server;
    QList<Request> m_requests;
    qint64 m_started;
};
