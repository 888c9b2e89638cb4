#pragma once

#include <QProcess>
#include <QTest>

// Another process that holds the lock of a data directory until released or killed.
// LOCKHOLDER_PATH names the helper executable.
class LockHolderProcess {
public:
    // mode: "program" (the default), "writer" or "replace".
    explicit LockHolderProcess(const QString& dataDirectory, const QString& mode = {}) {
        m_process.start(QStringLiteral(LOCKHOLDER_PATH), mode.isEmpty()
                                                             ? QStringList{dataDirectory}
                                                             : QStringList{dataDirectory, mode});
        m_held = m_process.waitForReadyRead(10000) &&
                 m_process.readLine().trimmed() == QByteArrayLiteral("gesperrt");
    }
    ~LockHolderProcess() {
        if (m_process.state() != QProcess::NotRunning)
            release();
    }
    bool holds() const { return m_held; }
    // Ends the holder cleanly: the lock is released.
    void release() {
        m_process.write("\n");
        m_process.closeWriteChannel();
        m_process.waitForFinished(10000);
    }
    // Ends the holder as a crash would: its lock file stays behind.
    void kill() {
        m_process.kill();
        m_process.waitForFinished(10000);
    }

private:
    QProcess m_process;
    bool m_held = false;
};
