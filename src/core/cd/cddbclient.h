#pragma once

#include "cddbexchange.h"
#include "cddbtext.h"

#include <QObject>
#include <QUrl>
#include <functional>

class TTnCnx;
class QEventLoop;
class QNetworkAccessManager;
class QNetworkReply;

// Runs one exchange with a CDDB server over TTnCnx (cddbp) or over the server's HTTP
// interface while the event loop keeps turning, so a window stays responsive and can abort
// it. No data for the time-out ends the exchange; once the result is in, the server's
// goodbye is awaited for two seconds at most.
class CddbClient : public QObject {
    Q_OBJECT
public:
    explicit CddbClient(QObject* parent = nullptr);
    ~CddbClient() override;

    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    // Called whenever the exchange's status text changes.
    void setStatusHandler(std::function<void(const QString&)> handler) {
        m_onStatus = std::move(handler);
    }

    // True when the command's reply arrived complete and good; the exchange tells more.
    bool run(const cddb::ServerAddress& server, CddbExchange& exchange);
    bool isRunning() const { return m_running; }
    // The request of an exchange to a server's HTTP interface: HTTPS on port 443.
    static QUrl httpUrl(const cddb::ServerAddress& server, const CddbExchange& exchange);

public slots:
    // Ends a running exchange as a failure.
    void abort();

private:
    static constexpr int kGoodbyeMs = 2000;

    bool runHttp(const cddb::ServerAddress& server, CddbExchange& exchange);
    void reportStatus();

    int m_timeoutMs = 30000;
    QNetworkAccessManager* m_network = nullptr;
    QNetworkReply* m_reply = nullptr;
    std::function<void(const QString&)> m_onStatus;
    QString m_lastStatus;
    TTnCnx* m_connection;
    bool m_running = false;
    QEventLoop* m_loop = nullptr;
    CddbExchange* m_exchange = nullptr;
};
