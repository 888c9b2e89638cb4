#include "qtaudiosink.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>
#include <cstring>
#include <memory>

namespace {

// Hands the sink's pulls to the PCM source; silence while the reader is behind, so the
// output does not fall idle.
class SourceDevice : public QIODevice {
public:
    explicit SourceDevice(PcmSource& source) : m_source(source) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return pcm::kBytesPerSecond; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        maxSize -= maxSize % 4; // whole stereo frames
        const qint64 n = m_source.readPcm(data, maxSize);
        if (n < maxSize)
            std::memset(data + n, 0, size_t(maxSize - n));
        return maxSize;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    PcmSource& m_source;
};

QAudioFormat cdFormat() {
    QAudioFormat format;
    format.setSampleRate(pcm::kSampleRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

} // namespace

class AudioOutputWorker : public QObject {
public:
    std::atomic<qint64> pending{0};

    bool start(PcmSource& source) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(cdFormat()))
            return false;
        m_device = std::make_unique<SourceDevice>(source);
        m_sink = std::make_unique<QAudioSink>(device, cdFormat());
        m_sink->setBufferSize(pcm::kBytesPerSecond / 8); // an eighth of a second
        m_sink->start(m_device.get());
        if (m_sink->error() != QAudio::NoError) {
            m_sink.reset();
            return false;
        }
        m_sink->suspend();
        m_poll = std::make_unique<QTimer>();
        QObject::connect(m_poll.get(), &QTimer::timeout, this, [this] { sample(); });
        m_poll->start(40);
        return true;
    }
    void resume() {
        if (m_sink)
            m_sink->resume();
    }
    void suspend() {
        if (m_sink)
            m_sink->suspend();
        pending = 0;
    }
    void stop() {
        m_poll.reset();
        if (m_sink)
            m_sink->stop();
        m_sink.reset();
        m_device.reset();
        pending = 0;
    }

private:
    void sample() {
        if (m_sink && m_sink->state() == QAudio::ActiveState)
            pending = qint64(m_sink->bufferSize()) - m_sink->bytesFree();
    }

    std::unique_ptr<SourceDevice> m_device;
    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<QTimer> m_poll;
};

QtAudioSink::QtAudioSink() {
    m_thread.setObjectName(QStringLiteral("audio output"));
    m_thread.start(QThread::TimeCriticalPriority);
    m_worker = new AudioOutputWorker;
    m_worker->moveToThread(&m_thread);
}

QtAudioSink::~QtAudioSink() {
    stop();
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { delete w; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

bool QtAudioSink::isAvailable() const {
    return !QMediaDevices::defaultAudioOutput().isNull();
}

bool QtAudioSink::start(PcmSource& source) {
    bool started = false;
    QMetaObject::invokeMethod(
        m_worker, [&] { started = m_worker->start(source); }, Qt::BlockingQueuedConnection);
    return started;
}

void QtAudioSink::resume() {
    QMetaObject::invokeMethod(m_worker, [w = m_worker] { w->resume(); });
}

void QtAudioSink::suspend() {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->suspend(); }, Qt::BlockingQueuedConnection);
}

void QtAudioSink::stop() {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->stop(); }, Qt::BlockingQueuedConnection);
}

qint64 QtAudioSink::pendingBytes() const {
    return m_worker->pending;
}
