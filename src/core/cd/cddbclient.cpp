#include "cddbclient.h"

#include "tncnx.h"

#include <QEventLoop>
#include <QTimer>

CddbClient::CddbClient(QObject* parent) : QObject(parent), m_connection(new TTnCnx(this)) {}

CddbClient::~CddbClient() = default;

void CddbClient::abort() {
    if (m_exchange && !m_exchange->finished())
        m_exchange->connectionClosed();
    if (m_loop)
        m_loop->quit();
}

bool CddbClient::run(const cddb::ServerAddress& server, CddbExchange& exchange) {
    m_running = true;
    QEventLoop loop;
    m_loop = &loop;
    m_exchange = &exchange;
    QTimer silence;
    silence.setSingleShot(true);
    QString lastStatus;
    auto report = [&] {
        if (exchange.status() != lastStatus) {
            lastStatus = exchange.status();
            if (m_onStatus)
                m_onStatus(lastStatus);
        }
        if (exchange.finished())
            loop.quit();
    };
    QList<QMetaObject::Connection> links;
    links << connect(m_connection, &TTnCnx::connected, &loop, [&] {
        exchange.connected();
        silence.start(m_timeoutMs);
        report();
    });
    links << connect(m_connection, &TTnCnx::dataAvailable, &loop, [&](const QByteArray& chunk) {
        silence.start(m_timeoutMs);
        const QByteArray answer = exchange.received(chunk);
        if (!answer.isEmpty())
            m_connection->send(answer);
        report();
    });
    links << connect(m_connection, &TTnCnx::closed, &loop, [&] {
        exchange.connectionClosed();
        report();
    });
    connect(&silence, &QTimer::timeout, &loop, [&] {
        exchange.timedOut();
        report();
    });
    m_connection->setHost(server.host);
    m_connection->setPort(server.port);
    report();
    m_connection->connectToHost();
    silence.start(m_timeoutMs);
    if (!exchange.finished())
        loop.exec();
    for (const auto& link : links)
        disconnect(link);
    m_connection->close();
    m_loop = nullptr;
    m_exchange = nullptr;
    m_running = false;
    return exchange.succeeded();
}
