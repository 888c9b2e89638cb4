#pragma once

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <QTcpServer>

// A small CDDB server on 127.0.0.1 for tests: a greeting, then a reply per command word
// ("cddb hello", "cddb query", "cddb read", "sites", "quit"). Replies go out in small
// pieces so that clients must put them together.
class FakeCddbServer : public QObject {
    Q_OBJECT
public:
    explicit FakeCddbServer(QObject* parent = nullptr);

    quint16 port() const { return m_server.serverPort(); }
    QString serverLine() const {
        return QStringLiteral("127.0.0.1 %1 N000.00 W000.00 Testserver").arg(port());
    }

    QByteArray greeting = "201 testhost CDDBP server v1.5 ready at Wed Dec 09 12:00:00 2026\r\n";
    QMap<QString, QByteArray> replies; // by command prefix
    bool silentAfterGreeting = false;  // answers nothing after the greeting
    bool silentOnQuit = false;         // never says goodbye and keeps the line open
    int pieceSize = 7;

    const QStringList& received() const { return m_received; }

private:
    void answer(class QTcpSocket* client, const QByteArray& line);
    QTcpServer m_server;
    QStringList m_received;
};
