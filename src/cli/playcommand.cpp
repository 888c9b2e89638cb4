#include "playcommand.h"
#include "console.h"

#include "core/cd/cdplayerengine.h"
#include "core/cd/qtaudiosink.h"
#include "core/cd/recordingsink.h"
#include "core/common/laufzeit.h"
#include "usage.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QTimer>
#include <QtEndian>
#include <atomic>
#include <csignal>

namespace {

const char* const kNoDisc = "Keine Audio-CD eingelegt";
const char* const kNoOutput = "Es ist keine Audioausgabe verfügbar.";

std::atomic<bool> g_interrupted{false};

extern "C" void onInterrupt(int) {
    g_interrupted = true;
}

int playUsage() {
    return usagetext::show(
        {QStringLiteral("play")},
        QStringLiteral(
            "QUELLE ist ein CD-Laufwerk (/dev/sr0) oder ein CD-Abbild (.cue, .toc, .nrg);\nN zählt "
            "ab 1. Mit --wav wird Lied N als WAV-Datei geschrieben statt gespielt.\n"));
}

// The disc is there and track is one of its audio tracks; otherwise says why not.
bool checkTrack(const CdPlayerStatus& status, int track, int& exitCode) {
    exitCode = 0;
    if (!status.hasDisc())
        exitCode = fail(QString::fromUtf8(kNoDisc));
    else if (track > status.tracks())
        exitCode = fail(QStringLiteral("Die CD hat kein Lied %1, sondern %2 Lieder.")
                            .arg(track)
                            .arg(status.tracks()));
    else if (!status.audio[track - 1])
        exitCode = fail(QStringLiteral("Lied %1 ist ein Datentitel und kann nicht abgespielt "
                                       "werden.")
                            .arg(track));
    return exitCode == 0;
}

QByteArray wavHeader(quint32 dataBytes) {
    QByteArray h(44, '\0');
    char* p = h.data();
    auto put32 = [&](int at, quint32 v) { qToLittleEndian<quint32>(v, p + at); };
    auto put16 = [&](int at, quint16 v) { qToLittleEndian<quint16>(v, p + at); };
    std::memcpy(p, "RIFF", 4);
    put32(4, 36 + dataBytes);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1); // PCM
    put16(22, 2);
    put32(24, pcm::kSampleRate);
    put32(28, pcm::kBytesPerSecond);
    put16(32, 4);
    put16(34, 16);
    std::memcpy(p + 36, "data", 4);
    put32(40, dataBytes);
    return h;
}

int writeWav(const QString& source, int track, const QString& target) {
    auto sinkOwner = std::make_unique<RecordingSink>();
    RecordingSink* sink = sinkOwner.get();
    CdPlayerEngine engine(std::move(sinkOwner));
    engine.open(source);
    engine.waitForCommands();
    const CdPlayerStatus status = engine.status();
    int exitCode = 0;
    if (!checkTrack(status, track, exitCode))
        return exitCode;

    const qint64 bytes = qint64(status.trackFrames[track - 1]) * pcm::kSectorBytes;
    QSaveFile file(target); // complete or not at all
    if (!file.open(QIODevice::WriteOnly))
        return fail(
            QStringLiteral("%1 kann nicht geschrieben werden: %2").arg(target, file.errorString()));
    file.write(wavHeader(quint32(bytes)));
    sink->setConsumer([&file](const char* data, qint64 size) { file.write(data, size); });
    sink->setLimit(bytes);

    bool failed = false;
    QObject::connect(&engine, &CdPlayer::playEnded, &engine, [&failed](bool success) {
        failed = !success;
        QCoreApplication::quit();
    });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &engine, [&] {
        if (sink->bytesTaken() >= bytes || g_interrupted)
            QCoreApplication::quit();
    });
    watch.start(5);
    engine.playTrack(track);
    QCoreApplication::exec();
    engine.stop();
    engine.waitForCommands();
    sink->stop(); // no more bytes into the file
    if (failed)
        return fail(QStringLiteral("Die CD konnte nicht gelesen werden."));
    if (g_interrupted || sink->bytesTaken() < bytes)
        return fail(QStringLiteral("Abgebrochen; %1 wurde nicht geschrieben.").arg(target));
    if (!file.commit())
        return fail(
            QStringLiteral("%1 kann nicht geschrieben werden: %2").arg(target, file.errorString()));
    out() << "Lied " << track << " geschrieben: " << target << " (" << bytes << " Bytes PCM)"
          << Qt::endl;
    return 0;
}

QString timeOf(int frames) {
    return laufzeit::format(laufzeit::fromSeconds(frames / 75));
}

int play(const QString& source, int track) {
    CdPlayerEngine engine(std::make_unique<QtAudioSink>());
    engine.open(source);
    engine.waitForCommands();
    int exitCode = 0;
    if (!checkTrack(engine.status(), track, exitCode))
        return exitCode;
    if (!engine.outputAvailable())
        return fail(QString::fromUtf8(kNoOutput));

    QObject::connect(&engine, &CdPlayer::playEnded, &engine, [&exitCode](bool success) {
        if (!success)
            exitCode = fail(QStringLiteral("Die CD konnte nicht gelesen werden."));
        QCoreApplication::quit();
    });
    QTimer interrupt;
    QObject::connect(&interrupt, &QTimer::timeout, &engine, [] {
        if (g_interrupted)
            QCoreApplication::quit();
    });
    interrupt.start(50);
    QTimer second;
    QObject::connect(&second, &QTimer::timeout, &engine, [&engine] {
        const CdPlayerStatus s = engine.status();
        if (s.mode == CdMode::Playing)
            out() << "Lied " << s.track << "  " << timeOf(s.trackFrame) << " von "
                  << timeOf(s.trackFrames.value(s.track - 1)) << Qt::endl;
    });
    second.start(1000);
    engine.playTrack(track);
    QCoreApplication::exec();
    engine.stop();
    engine.waitForCommands();
    return exitCode;
}

} // namespace

int runPlayCommand(const QStringList& args) {
    QString source, wav;
    int track = 1;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--track") && i + 1 < args.size()) {
            bool ok = false;
            track = args[++i].toInt(&ok);
            if (!ok || track < 1 || track > 100)
                return playUsage();
        } else if (a == QLatin1String("--wav") && i + 1 < args.size()) {
            wav = args[++i];
        } else if (source.isEmpty() && !a.startsWith(QLatin1String("--"))) {
            source = a;
        } else {
            return playUsage();
        }
    }
    if (source.isEmpty())
        return playUsage();
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    return wav.isEmpty() ? play(source, track) : writeWav(source, track, wav);
}
