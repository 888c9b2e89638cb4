#pragma once

#include "core/db/database.h"

#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <thread>

// Counts the rows of a list on a thread of its own, through a read-only connection of its
// own (SQLite wants one connection per thread), so that a window shows its first rows
// without waiting for the number. The answer arrives on the receiver's thread; nullopt when
// the count could not be made there (the caller then counts itself). Stopping ends a running
// statement at once; nothing arrives after stop().
class BackgroundCount {
public:
    using Count = std::function<qint64(Database&)>;

    BackgroundCount() = default;
    ~BackgroundCount() { stop(); }
    BackgroundCount(const BackgroundCount&) = delete;
    BackgroundCount& operator=(const BackgroundCount&) = delete;

    void start(const QString& path, Count count, QObject* receiver,
               std::function<void(std::optional<qint64>)> done) {
        stop();
        auto stopFlag = std::make_shared<std::atomic<bool>>(false);
        m_stop = stopFlag;
        // The receiver owns this object, so it outlives the thread (stop() joins it).
        m_thread = std::thread(
            [path, count = std::move(count), stopFlag, receiver, done = std::move(done)] {
                std::optional<qint64> result;
                try {
                    Database db;
                    db.open(path);
                    db.exec(u"PRAGMA query_only = ON");
                    db.stopWhen(stopFlag.get());
                    // Waiting for another connection's lock also ends when stopped.
                    sqlite3_busy_handler(db.handle(), &BackgroundCount::waitUnlessStopped,
                                         stopFlag.get());
                    result = count(db);
                } catch (const DbError&) {
                    // Busy, stopped or unreadable: the caller decides.
                }
                if (stopFlag->load())
                    return;
                QMetaObject::invokeMethod(
                    receiver,
                    [stopFlag, done, result] {
                        if (!stopFlag->load())
                            done(result);
                    },
                    Qt::QueuedConnection);
            });
    }

    void stop() {
        if (m_stop)
            m_stop->store(true);
        if (m_thread.joinable())
            m_thread.join();
        m_stop.reset();
    }

private:
    static int waitUnlessStopped(void* stop, int tries) {
        constexpr int kTries = Database::kBusyTimeoutMs / 10;
        if (static_cast<const std::atomic<bool>*>(stop)->load() || tries >= kTries)
            return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return 1;
    }

    std::shared_ptr<std::atomic<bool>> m_stop;
    std::thread m_thread;
};
