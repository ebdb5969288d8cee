// quavermill-cli: converts the files named on the command line with the same
// jobs as the desktop program.

#include <csignal>

#include "cli/ToolRun.h"

namespace {

// Lock-free, so a signal handler may store into it.
std::atomic<int32_t> stopRequested{0};
static_assert(std::atomic<int32_t>::is_always_lock_free);

void RequestStop(int) { stopRequested.store(1); }

void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    // A second interrupt ends the program at once.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    InstallStopHandlers();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return RunTool(arguments, stopRequested);
}
