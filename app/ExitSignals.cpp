#include "app/ExitSignals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

constexpr int kExitSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only make async-signal-safe calls: it wakes the event
// loop through a pipe, and the loop does the rest.
volatile sig_atomic_t wakeWriteEnd = -1;

void WakeEventLoop(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(wakeWriteEnd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

void ExitOnSignals(QObject* owner, std::function<void()> exit) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
    wakeWriteEnd = ends[1];
    auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [notifier, exit = std::move(exit)] {
        // Once is enough; the pipe is not read again.
        notifier->setEnabled(false);
        exit();
    });
    struct sigaction action {};
    action.sa_handler = WakeEventLoop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (const int signal : kExitSignals) sigaction(signal, &action, nullptr);
}
