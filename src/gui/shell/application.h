#pragma once

// Runs the program: the start-up sequence behind its progress dialog, then the main
// window's event loop. Returns the process exit code.
int runDiskarium(int argc, char* argv[]);
