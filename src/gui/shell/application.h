#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class TMain;

// How the program is started; the defaults are those of the desktop program.
struct StartOptions {
    QString dataDirectory;                // empty: the rule of the program's directory
    std::optional<QStringList> arguments; // empty: the command line
    // Called once the main window has become usable (for measuring and testing the start).
    std::function<void(TMain&)> whenUsable;
};

// Runs the program: the start-up sequence behind its progress dialog, then the main
// window's event loop. Returns the process exit code.
int runDiskarium(int argc, char* argv[], const StartOptions& options = {});
