// CD playback: CPU time while an image plays in real time, and the time from Play to the
// first PCM at the sink, through the engine and through the window's Play button.
//   diskarium-bench-cdplayer [SECONDS=60] [DRIVE]   (a drive is measured when one is there)
#include "core/cd/cddrives.h"
#include "core/cd/cdplayerengine.h"
#include "core/cd/recordingsink.h"
#include "core/shell/appstate.h"
#include "gui/cd/cdplayerwindow.h"
#include "gui/shell/qtmessageservice.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <sys/resource.h>

namespace {

using Clock = std::chrono::steady_clock;

// A disc image of three audio tracks of a soft tone, long enough for the measured play.
QString writeImage(const QString& dir, int seconds) {
    const int perTrack = seconds / 3 + 2;
    QByteArray bin;
    bin.reserve(qsizetype(perTrack) * 3 * 75 * 2352);
    for (qint64 i = 0; i < qint64(perTrack) * 3 * 44100; ++i) {
        const qint16 v = qint16(3000 * std::sin(double(i) * 2 * M_PI * 440 / 44100));
        for (int c = 0; c < 2; ++c)
            bin.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
    }
    QFile b(dir + QStringLiteral("/ton.bin"));
    b.open(QIODevice::WriteOnly);
    b.write(bin);
    QString cue = QStringLiteral("FILE \"ton.bin\" BINARY\n");
    for (int t = 0; t < 3; ++t)
        cue += QStringLiteral("  TRACK %1 AUDIO\n    INDEX 01 %2:%3:00\n")
                   .arg(t + 1, 2, 10, QLatin1Char('0'))
                   .arg(t * perTrack / 60, 2, 10, QLatin1Char('0'))
                   .arg(t * perTrack % 60, 2, 10, QLatin1Char('0'));
    QFile c(dir + QStringLiteral("/ton.cue"));
    c.open(QIODevice::WriteOnly);
    c.write(cue.toLatin1());
    return c.fileName();
}

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Waits, keeping events running, until the sink has its first bytes; milliseconds since t0.
double firstBytesMs(const RecordingSink& sink, Clock::time_point t0) {
    QElapsedTimer limit;
    limit.start();
    while (!sink.firstBytesAt() && limit.elapsed() < 30000) {
        QCoreApplication::processEvents();
        QThread::usleep(200);
    }
    const auto first = sink.firstBytesAt();
    return first ? std::chrono::duration<double, std::milli>(*first - t0).count() : -1;
}

struct Player {
    RecordingSink* sink;
    std::unique_ptr<CdPlayerEngine> engine;
};

Player openPlayer(const QString& source, RecordingSink::Pace pace) {
    auto sink = std::make_unique<RecordingSink>(pace);
    RecordingSink* raw = sink.get();
    auto engine = std::make_unique<CdPlayerEngine>(std::move(sink));
    engine->open(source);
    engine->waitForCommands();
    return {raw, std::move(engine)};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

void measure(QTextStream& out, const QString& name, const QString& source, int seconds) {
    out << name << ": " << source << Qt::endl;
    {
        Player p = openPlayer(source, RecordingSink::Pace::RealTime);
        if (!p.engine->status().hasDisc()) {
            out << "  keine lesbare Audio-CD" << Qt::endl;
            return;
        }
        const double cpu0 = cpuSeconds();
        const auto wall0 = Clock::now();
        p.engine->play();
        while (Clock::now() - wall0 < std::chrono::seconds(seconds)) {
            QCoreApplication::processEvents();
            QThread::msleep(100);
        }
        const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
        const double cpu = cpuSeconds() - cpu0;
        out << QStringLiteral("  %1 s in Echtzeit gespielt (%2 s PCM): CPU %3 s = %4 % eines Kerns")
                   .arg(wall, 0, 'f', 1)
                   .arg(double(p.sink->bytesTaken()) / pcm::kBytesPerSecond, 0, 'f', 1)
                   .arg(cpu, 0, 'f', 2)
                   .arg(100 * cpu / wall, 0, 'f', 2)
            << Qt::endl;
    }
    std::vector<double> engineMs;
    for (int i = 0; i < 10; ++i) {
        Player p = openPlayer(source, RecordingSink::Pace::AsFastAsOffered);
        const auto t0 = Clock::now();
        p.engine->play();
        engineMs.push_back(firstBytesMs(*p.sink, t0));
    }
    out << QStringLiteral("  Play bis zum ersten PCM (Engine, Median aus 10): %1 ms")
               .arg(median(engineMs), 0, 'f', 1)
        << Qt::endl;

    std::vector<double> windowMs;
    for (int i = 0; i < 10; ++i) {
        Player p = openPlayer(source, RecordingSink::Pace::AsFastAsOffered);
        AppState state;
        state.cdDrives = {source};
        QtMessageService messages;
        TCDPlayerWindow window(state, messages, *p.engine);
        window.show();
        QCoreApplication::processEvents();
        const auto t0 = Clock::now();
        window.playButton()->click();
        windowMs.push_back(firstBytesMs(*p.sink, t0));
        window.hide();
    }
    out << QStringLiteral(
               "  Klick auf Abspielen bis zum ersten PCM (Fenster, Median aus 10): %1 ms")
               .arg(median(windowMs), 0, 'f', 1)
        << Qt::endl;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const int seconds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 60;
    QTemporaryDir dir;
    measure(out, QStringLiteral("CD-Abbild"), writeImage(dir.path(), seconds), seconds);
    const QString drive = argc > 2 ? QString::fromLocal8Bit(argv[2]) : enumerateCdDrives().value(0);
    if (drive.isEmpty())
        out << "Laufwerk: keines vorhanden, nicht gemessen" << Qt::endl;
    else
        measure(out, QStringLiteral("Laufwerk"), drive, seconds);
    return 0;
}
