#pragma once

#include "cddbexchange.h"
#include "cddbtext.h"

#include <QObject>
#include <functional>

class TTnCnx;
class QEventLoop;

// Runs one exchange with a CDDB server over TTnCnx while the event loop keeps turning, so a
// window stays responsive and can abort it. No data for the time-out ends the exchange.
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

public slots:
    // Ends a running exchange as a failure.
    void abort();

private:
    int m_timeoutMs = 30000;
    std::function<void(const QString&)> m_onStatus;
    TTnCnx* m_connection;
    bool m_running = false;
    QEventLoop* m_loop = nullptr;
    CddbExchange* m_exchange = nullptr;
};
