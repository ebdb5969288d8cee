#pragma once
// Errors and warnings as values: a job reports each message to the reporter
// it was given, with the file the message belongs to, and the program that
// runs the job decides where it goes (a box, a log line, standard error).

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>

inline constexpr const char* kLogFileName = "Quavermill.log";

struct ErrorMessage {
    std::string File;       // the input the message belongs to; empty: none
    std::string Text;       // the expanded format, as the reporter wrote it
    int ErrorNumber = 0;    // the C library's error number at the report; 0: none
    std::string Reason;     // a library's own words for the failure, shown as the number's text is; empty: none
    bool Overflow = false;  // the format was too long: Text holds it unexpanded
};

using ErrorSink = std::function<void(const ErrorMessage&)>;

// Where one job's messages go: its input, and the sink its program gave it.
// Without a sink the messages are dropped.
struct ErrorReporter {
    std::string File;
    ErrorSink Sink;
};

// printf-style. The message carries the reporter's file and, when the
// calling thread's errno is set, that number, which is then cleared: one
// failed call decorates one message.
void ReportError(const ErrorReporter& reporter, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The same with the text and its reasons given as values: nothing is read
// from errno or left in it.
void ReportMessage(const ErrorReporter& reporter, std::string text, int errorNumber = 0, std::string reason = {});

// The message as a box shows it: "file: text error is ... (n)".
std::string FormatForMessageBox(const ErrorMessage& message);
// The message as one log line, "file : text error is: ... (n)", with the
// text's own line breaks turned into blanks and one line feed at the end.
std::string FormatForLog(const ErrorMessage& message);
// Appends the line to the log in one write, so that messages of files
// converted at once never interleave. A log that cannot be opened drops it.
void AppendToLog(const std::filesystem::path& log, const ErrorMessage& message);

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
