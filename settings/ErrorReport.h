#pragma once
// The one entry point for errors and warnings, and its two sinks.

#include <cerrno>
#include <functional>
#include <string>

inline constexpr const char* kLogFileName = "Quavermill.log";

// printf-style; callable from any thread. The message carries the error
// context of the calling thread and, when errno is set, its text and number.
void ReportError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Nonzero: append to "Quavermill.log"; 0: show a message box.
void SelectErrorSink(int flag);

// The input path that prefixes every message reported by this thread.
void SetErrorContext(const std::string& path);

// Keeps this thread's error number as it was, for the object's lifetime:
// probing whose failures are expected (a path that does not exist yet, a
// stream that cannot seek) must not decorate the next message.
class ErrnoKeeper {
public:
    ErrnoKeeper() : saved_(errno) {}
    ~ErrnoKeeper() { errno = saved_; }
    ErrnoKeeper(const ErrnoKeeper&) = delete;
    ErrnoKeeper& operator=(const ErrnoKeeper&) = delete;

private:
    int saved_;
};

// The desktop program shows message boxes through this; with none registered
// a message-box message goes to standard error. Passing an empty function
// removes the registration.
using MessageBoxFunction = std::function<void(const std::string& text)>;
void RegisterMessageBoxSink(MessageBoxFunction show);
