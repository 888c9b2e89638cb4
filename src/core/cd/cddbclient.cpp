#include "cddbclient.h"

#include "tncnx.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

CddbClient::CddbClient(QObject* parent) : QObject(parent), m_connection(new TTnCnx(this)) {}

CddbClient::~CddbClient() = default;

void CddbClient::abort() {
    if (m_exchange && !m_exchange->finished())
        m_exchange->connectionClosed();
    if (m_reply)
        m_reply->abort();
    if (m_loop)
        m_loop->quit();
}

void CddbClient::reportStatus() {
    if (m_exchange && m_exchange->status() != m_lastStatus) {
        m_lastStatus = m_exchange->status();
        if (m_onStatus)
            m_onStatus(m_lastStatus);
    }
}

bool CddbClient::run(const cddb::ServerAddress& server, CddbExchange& exchange) {
    if (server.http)
        return runHttp(server, exchange);
    m_running = true;
    QEventLoop loop;
    m_loop = &loop;
    m_exchange = &exchange;
    QTimer silence;
    silence.setSingleShot(true);
    m_lastStatus.clear();
    auto report = [&] {
        reportStatus();
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
        const QByteArray answer = exchange.received(chunk);
        // The result is complete: a server that never says goodbye must not hold it back.
        silence.start(exchange.stage() == CddbExchange::Stage::Quit
                          ? std::min(kGoodbyeMs, m_timeoutMs)
                          : m_timeoutMs);
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

QUrl CddbClient::httpUrl(const cddb::ServerAddress& server, const CddbExchange& exchange) {
    QUrl url;
    url.setScheme(server.port == 443 ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(server.host);
    if (server.port != 443 && server.port != 80)
        url.setPort(server.port);
    url.setPath(server.path);
    url.setQuery(QString::fromLatin1(exchange.httpQuery()), QUrl::StrictMode);
    return url;
}

bool CddbClient::runHttp(const cddb::ServerAddress& server, CddbExchange& exchange) {
    m_running = true;
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(httpUrl(server, exchange));
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("WinDsKm32/1.5.0"));
    request.setTransferTimeout(m_timeoutMs);

    QEventLoop loop;
    m_loop = &loop;
    m_exchange = &exchange;
    m_lastStatus.clear();
    auto report = [this] { reportStatus(); };
    report();
    exchange.startHttp();
    report();
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::readyRead, &loop, [&] {
        exchange.received(m_reply->readAll());
        report();
    });
    connect(m_reply, &QNetworkReply::finished, &loop, [&] {
        const QNetworkReply::NetworkError error = m_reply->error();
        if (error == QNetworkReply::NoError)
            exchange.received(m_reply->readAll());
        else if (error == QNetworkReply::OperationCanceledError)
            exchange.connectionClosed(); // cancelled or timed out
        else if (error < QNetworkReply::ContentAccessDenied)
            exchange.connectionFailed(); // no server there, or no TLS with it
        else
            exchange.connectionClosed();
        exchange.bodyEnded();
        report();
        loop.quit();
    });
    if (!m_reply->isFinished())
        loop.exec();
    if (!exchange.finished())
        exchange.connectionClosed();
    m_reply->disconnect(&loop);
    m_reply->deleteLater();
    m_reply = nullptr;
    m_loop = nullptr;
    m_exchange = nullptr;
    m_running = false;
    return exchange.succeeded();
}
