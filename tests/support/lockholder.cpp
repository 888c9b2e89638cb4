// Holds the lock of a data directory for tests, as a running program does:
// diskarium-lockholder DIR. Prints "gesperrt" once it holds the lock and keeps it until a
// line arrives on standard input (or the process is killed); exits 1 when it cannot lock.
#include "core/shell/datadirectorylock.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    DataDirectoryLock lock(QString::fromLocal8Bit(argv[1]));
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
