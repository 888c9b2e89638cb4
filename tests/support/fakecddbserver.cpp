#include "fakecddbserver.h"

#include <QTcpSocket>
#include <QTimer>

FakeCddbServer::FakeCddbServer(QObject* parent) : QObject(parent) {
    replies.insert(QStringLiteral("cddb hello"),
                   "200 Hello and welcome anna@host running WinDsKm32 1.5.0.\r\n");
    replies.insert(QStringLiteral("proto"), "201 OK, protocol version now: 6\r\n");
    replies.insert(QStringLiteral("quit"), "230 testhost Closing connection.  Goodbye.\r\n");
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* client = m_server.nextPendingConnection()) {
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            client->write(greeting);
            auto buffer = std::make_shared<QByteArray>();
            connect(client, &QTcpSocket::readyRead, this, [this, client, buffer] {
                buffer->append(client->readAll());
                qsizetype end;
                while ((end = buffer->indexOf('\n')) >= 0) {
                    const QByteArray line = buffer->left(end + 1);
                    buffer->remove(0, end + 1);
                    answer(client, line);
                }
            });
        }
    });
}

void FakeCddbServer::answer(QTcpSocket* client, const QByteArray& line) {
    m_received.append(QString::fromLatin1(line));
    if (silentAfterGreeting || (silentOnQuit && line.startsWith("quit")))
        return;
    for (auto it = replies.constBegin(); it != replies.constEnd(); ++it) {
        if (!line.startsWith(it.key().toLatin1()))
            continue;
        const QByteArray reply = it.value();
        const bool quit = it.key() == QLatin1String("quit");
        // Sent piece by piece, each after a short pause.
        for (qsizetype at = 0, piece = 0; at < reply.size(); at += pieceSize, ++piece) {
            const QByteArray part = reply.mid(at, pieceSize);
            QTimer::singleShot(int(piece), client, [client, part] { client->write(part); });
        }
        if (quit)
            QTimer::singleShot(int(reply.size() / pieceSize) + 5, client,
                               [client] { client->disconnectFromHost(); });
        return;
    }
    client->write("500 Unrecognized command.\r\n");
}
