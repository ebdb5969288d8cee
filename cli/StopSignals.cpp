#include "cli/StopSignals.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Written by the handler, which may only make async-signal-safe calls.
volatile sig_atomic_t wakeWriteEnd = -1;

void RequestStop(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // The pipe is nonblocking: once one byte is waiting, more change nothing.
    [[maybe_unused]] const ssize_t written = write(wakeWriteEnd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

int InstallStopSignals() {
    std::signal(SIGPIPE, SIG_IGN);
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    wakeWriteEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    // A second stop signal ends the tool at once; the unnamed outputs of the
    // files under way vanish with it.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (const int signal : kStopSignals) sigaction(signal, &action, nullptr);
    return ends[0];
}

bool StopRaised(int stopFd) {
    if (stopFd < 0) return false;
    pollfd watch{stopFd, POLLIN, 0};
    return poll(&watch, 1, 0) > 0;
}

StopWatch::StopWatch(int stopFd, std::function<void()> stop) {
    if (stopFd < 0 || pipe2(done_, O_CLOEXEC) != 0) return;
    watcher_ = std::thread([this, stopFd, stop = std::move(stop)] {
        pollfd watched[2] = {{stopFd, POLLIN, 0}, {done_[0], POLLIN, 0}};
        while (poll(watched, 2, -1) < 0 && errno == EINTR) {
        }
        if ((watched[0].revents & POLLIN) != 0) stop();
    });
}

StopWatch::~StopWatch() {
    if (!watcher_.joinable()) return;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(done_[1], &byte, 1);
    watcher_.join();
    close(done_[0]);
    close(done_[1]);
}
