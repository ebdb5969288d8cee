#include "settings/ErrorReport.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "settings/Settings.h"
#include "settings/SettingsFolder.h"

namespace {

constexpr std::size_t kMessageLimit = 1023;         // a 1024-byte message buffer
constexpr std::size_t kLongestFormat = 750;         // longer formats are not expanded
constexpr std::size_t kLongestContextPath = 254;    // longer context paths are left out
constexpr const char* kOverflowMarker = "<buffer overflow> ";

struct SinkWording {
    const char* contextSeparator;
    const char* errorSuffix;
};
constexpr SinkWording kLogWording{"%s : ", " error is: %s (%d)"};
constexpr SinkWording kBoxWording{"%s: ", " error is %s (%d)"};

std::atomic<int> logSinkSelected{0};
thread_local std::string errorContext;
thread_local bool errorContextSet = false;

// Serialises delivery so two threads never interleave inside one entry, and
// guards the registered message-box function.
std::mutex deliveryLock;
MessageBoxFunction messageBox;

std::string Expand(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = Expand(format, args);
    va_end(args);
    return text;
}

std::string BuildMessage(const SinkWording& wording, bool overflow, int savedErrno, const char* format,
                         va_list args) {
    if (overflow) {
        return CutUtf8(std::string(kOverflowMarker) + " " + format, kMessageLimit);
    }
    std::string message;
    if (errorContextSet && errorContext.size() <= kLongestContextPath) {
        message = Printf(wording.contextSeparator, errorContext.c_str());
    }
    message += Expand(format, args);
    if (savedErrno != 0) {
        message += Printf(wording.errorSuffix, std::strerror(savedErrno), savedErrno);
    }
    return CutUtf8(message, kMessageLimit);
}

void DeliverToLog(const std::string& message) {
    std::lock_guard<std::mutex> hold(deliveryLock);
    // Opened and closed per entry so the log survives a killed process.
    std::FILE* log = std::fopen(SettingsFilePath(kLogFileName).c_str(), "a");
    if (!log) return;
    std::string entry = message + "\n";
    std::fwrite(entry.data(), 1, entry.size(), log);
    std::fflush(log);
    std::fclose(log);
}

void DeliverToMessageBox(const std::string& message) {
    MessageBoxFunction show;
    {
        std::lock_guard<std::mutex> hold(deliveryLock);
        show = messageBox;
        if (!show) {
            std::string entry = message + "\n";
            std::fwrite(entry.data(), 1, entry.size(), stderr);
            std::fflush(stderr);
            return;
        }
    }
    // Shown outside the lock: the box blocks until the user closes it.
    show(message);
}

}  // namespace

void ReportError(const char* format, ...) {
    // The error number belongs to the failed call before this one; read it
    // before anything here can change it.
    int savedErrno = errno;
    bool overflow = std::strlen(format) > kLongestFormat;
    bool toLog = logSinkSelected.load() != 0;
    va_list args;
    va_start(args, format);
    std::string message = BuildMessage(toLog ? kLogWording : kBoxWording, overflow, savedErrno, format, args);
    va_end(args);
    if (toLog) {
        DeliverToLog(message);
    } else {
        DeliverToMessageBox(message);
    }
    // A suffix consumes the error number; an unexpanded overflow message does not.
    errno = overflow ? savedErrno : 0;
}

void SelectErrorSink(int flag) {
    logSinkSelected.store(flag != 0 ? 1 : 0);
}

void SetErrorContext(const std::string& path) {
    errorContext = path;
    errorContextSet = true;
}

void RegisterMessageBoxSink(MessageBoxFunction show) {
    std::lock_guard<std::mutex> hold(deliveryLock);
    messageBox = std::move(show);
}
