// Starts the program on a data directory and ends it as soon as its main window is usable:
// diskarium-startup-probe DIR [REINDEX]. With --bare, a plain Qt window instead, as the
// floor any start has to pay. Prints its peak memory (kB) and the processor time it used (ms) at
// the end.
#include "gui/shell/application.h"
#include "gui/shell/mainwindow.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

int withPeakMemory(int result) {
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    const long cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000 +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
    std::printf("%ld %ld\n", usage.ru_maxrss, cpuMs);
    return result;
}

int bareWindow(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    QTimer::singleShot(0, &window, [&window] { window.close(); });
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && qstrcmp(argv[1], "--bare") == 0)
        return withPeakMemory(bareWindow(argc, argv));
    StartOptions options;
    options.dataDirectory = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    options.arguments = argc > 2 ? QStringList{QString::fromLocal8Bit(argv[2])} : QStringList{};
    options.whenUsable = [](TMain& main) { main.close(); };
    return withPeakMemory(runDiskarium(argc, argv, options));
}
