#pragma once
// How the tool is told to stop: SIGINT, SIGTERM and SIGHUP (a closed
// terminal) stop the files under way at their next block, and a second one
// ends the tool at once. SIGPIPE is ignored, so that a closed pipe on
// standard error cannot end the tool in the middle of a file.

#include <functional>
#include <thread>

// Installs the handlers. Gives a descriptor that becomes readable when the
// first stop signal arrives and stays readable, so a wait can wake on it;
// -1 when no pipe could be made (the signals then end the tool as usual).
int InstallStopSignals();

// Whether a stop signal has arrived, without waiting.
bool StopRaised(int stopFd);

// Calls `stop` from a thread of its own the moment `stopFd` becomes
// readable (at once when a signal came before), so the signal, not a timer,
// ends the tool's wait. Ends that thread when destroyed.
class StopWatch {
public:
    StopWatch(int stopFd, std::function<void()> stop);
    ~StopWatch();
    StopWatch(const StopWatch&) = delete;
    StopWatch& operator=(const StopWatch&) = delete;

private:
    int done_[2] = {-1, -1};
    std::thread watcher_;
};
