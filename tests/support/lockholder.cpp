// Holds the lock of a data directory for tests, as a running program does:
// diskarium-lockholder DIR [program|writer|replace] (program by default). Prints "gesperrt" once it
// holds the lock and keeps it until a line arrives on standard input (or the process is killed);
// exits 1 when it cannot lock.
#include "core/shell/datadirectorylock.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 3)
        return 2;
    const QByteArray mode = argc == 3 ? QByteArray(argv[2]) : QByteArray("program");
    DataDirectoryLock lock(QString::fromLocal8Bit(argv[1]),
                           mode == "writer"    ? DataDirectoryLock::Mode::Writer
                           : mode == "replace" ? DataDirectoryLock::Mode::Replace
                                               : DataDirectoryLock::Mode::Program);
    if (!lock.tryLock()) {
        std::puts("besetzt");
        return 1;
    }
    std::puts("gesperrt");
    std::fflush(stdout);
    char line[16];
    std::fgets(line, sizeof line, stdin);
    return 0;
}
