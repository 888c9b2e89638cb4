#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray kActivate("activate\n");
}

SingleInstance::SingleInstance(const QString& dataDirectory, QObject* parent) : QObject(parent) {
    const QByteArray key =
        (qEnvironmentVariable("USER") + QLatin1Char('|') + QDir::cleanPath(dataDirectory)).toUtf8();
    m_name = QStringLiteral("Diskarium-") +
             QString::fromLatin1(
                 QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::handOverToRunningInstance() {
    {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        if (socket.waitForConnected(500)) {
            socket.write(kActivate);
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return true;
        }
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // A socket file left by a crashed run: nobody answered above, so take it over.
        QLocalServer::removeServer(m_name);
        m_server->listen(m_name);
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().contains(kActivate.trimmed()))
                    emit activationRequested();
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
    return false;
}
