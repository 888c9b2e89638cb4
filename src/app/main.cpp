#include "gui/shell/application.h"

int main(int argc, char* argv[]) {
    return runDiskarium(argc, argv);
}
