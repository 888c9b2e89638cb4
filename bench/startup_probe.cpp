// Starts the program on a data directory and ends it as soon as its main window is usable:
// diskarium-startup-probe DIR [REINDEX]
#include "gui/shell/application.h"
#include "gui/shell/mainwindow.h"

int main(int argc, char* argv[]) {
    StartOptions options;
    options.dataDirectory = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    options.arguments = argc > 2 ? QStringList{QString::fromLocal8Bit(argv[2])} : QStringList{};
    options.whenUsable = [](TMain& main) { main.close(); };
    return runDiskarium(argc, argv, options);
}
