#include "tncnx.h"

#include <QSignalBlocker>
#include <QTcpSocket>

TTnCnx::TTnCnx(QObject* parent) : QObject(parent), m_socket(new QTcpSocket(this)) {
    connect(m_socket, &QTcpSocket::connected, this, &TTnCnx::connected);
    connect(m_socket, &QTcpSocket::disconnected, this, &TTnCnx::closed);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        if (m_socket->state() != QAbstractSocket::ConnectedState)
            emit closed();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, [this] {
        while (m_socket->bytesAvailable() > 0) {
            const QByteArray chunk = m_socket->read(2048);
            if (chunk.isEmpty())
                break;
            emit dataAvailable(chunk);
        }
    });
}

TTnCnx::~TTnCnx() = default;

void TTnCnx::connectToHost() {
    if (m_socket->state() != QAbstractSocket::UnconnectedState) {
        // What is left of the last conversation; its end is no news for this one.
        const QSignalBlocker quiet(m_socket);
        m_socket->abort();
    }
    m_socket->connectToHost(m_host, m_port);
}

bool TTnCnx::isConnected() const {
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

void TTnCnx::close() {
    // A line still queued (the "quit" after a refused command) goes out before the close.
    if (isConnected()) {
        m_socket->flush();
        m_socket->disconnectFromHost();
    } else {
        m_socket->abort();
    }
}

void TTnCnx::send(const QByteArray& text) {
    if (isConnected())
        m_socket->write(text);
}
