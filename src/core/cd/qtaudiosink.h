#pragma once

#include "pcmsink.h"

#include <QThread>
#include <atomic>

class AudioOutputWorker;

// The sound output of the system through Qt Multimedia, played on a thread of its own so
// that a busy window never makes it stutter.
class QtAudioSink : public PcmSink {
public:
    QtAudioSink();
    ~QtAudioSink() override;

    bool isAvailable() const override;
    bool start(PcmSource& source) override;
    void resume() override;
    void suspend() override;
    void stop() override;
    qint64 pendingBytes() const override;

private:
    QThread m_thread;
    AudioOutputWorker* m_worker = nullptr;
};
