#include "fakehttpserver.h"

#include <QDateTime>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

FakeHttpServer::FakeHttpServer(QObject* parent)
    : QObject(parent), m_started(QDateTime::currentMSecsSinceEpoch()) {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* client = m_server.nextPendingConnection()) {
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            auto buffer = std::make_shared<QByteArray>();
            connect(client, &QTcpSocket::readyRead, this, [this, client, buffer] {
                buffer->append(client->readAll());
                const qsizetype end = buffer->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                const QByteArray head = buffer->left(end);
                buffer->clear();
                answer(client, head);
            });
        }
    });
}

void FakeHttpServer::answer(QTcpSocket* client, const QByteArray& head) {
    const QList<QByteArray> lines = head.split('\n');
    Request request;
    request.target = lines.value(0).split(' ').value(1);
    request.atMs = QDateTime::currentMSecsSinceEpoch() - m_started;
    for (const QByteArray& line : lines) {
        if (line.toLower().startsWith("user-agent:"))
            request.userAgent = line.mid(11).trimmed();
    }
    m_requests.append(request);

    Reply reply;
    reply.status = 0;
    if (handler)
        reply = handler(request.target);
    if (reply.status == 0) {
        const QByteArray path = request.target.left(request.target.indexOf('?'));
        reply = replies.contains(request.target) ? replies.value(request.target)
                : replies.contains(path)         ? replies.value(path)
                                                 : Reply{404, "Not Found", "text/plain", 0};
    }
    const QByteArray text = "HTTP/1.1 " + QByteArray::number(reply.status) +
                            (reply.status < 400 ? " OK" : " Error") +
                            "\r\nContent-Type: " + reply.contentType +
                            "\r\nContent-Length: " + QByteArray::number(reply.body.size()) +
                            "\r\nConnection: close\r\n\r\n" + reply.body;
    QTimer::singleShot(reply.delayMs, client, [client, text] {
        client->write(text);
        client->disconnectFromHost();
    });
}
