#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running program per user and data directory. The first start listens on a local
// socket; a second start finds it, asks it to come to the front and ends without touching
// any table.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& dataDirectory, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance runs and was asked to come to the front; this process
    // should end. Otherwise this instance now listens for later starts.
    bool handOverToRunningInstance();

    const QString& serverName() const { return m_name; }

signals:
    // Another start asked this instance to come to the front.
    void activationRequested();

private:
    QString m_name;
    QLocalServer* m_server = nullptr;
};
