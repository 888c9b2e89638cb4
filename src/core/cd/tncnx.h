#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;

// A plain TCP client connection: whatever arrives is handed on in chunks of at most 2048
// bytes. Telnet command bytes (255) are passed through unchanged; CDDB servers send none.
class TTnCnx : public QObject {
    Q_OBJECT
public:
    explicit TTnCnx(QObject* parent = nullptr);
    ~TTnCnx() override;

    void setHost(const QString& host) { m_host = host; }
    void setPort(quint16 port) { m_port = port; }
    const QString& host() const { return m_host; }
    quint16 port() const { return m_port; }

    void connectToHost();
    bool isConnected() const;
    // Sends what is still queued, then closes.
    void close();
    void send(const QByteArray& text);

signals:
    void connected();
    void closed();
    void dataAvailable(const QByteArray& chunk);

private:
    QString m_host;
    quint16 m_port = 0;
    QTcpSocket* m_socket;
};
