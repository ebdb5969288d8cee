// quavermill-cli: converts the files named on the command line with the same
// jobs as the desktop program.

#include "cli/StopSignals.h"
#include "cli/ToolRun.h"

int main(int argc, char** argv) {
    const int stopFd = InstallStopSignals();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return RunTool(arguments, stopFd);
}
