#include "settings/ErrorReport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "settings/Settings.h"
#include "settings/WriteAll.h"

namespace {

constexpr std::size_t kTextLimit = 1023;      // a 1024-byte message buffer
constexpr std::size_t kLongestFormat = 750;   // longer formats are not expanded
constexpr const char* kOverflowMarker = "<buffer overflow> ";

struct SinkWording {
    const char* fileSeparator;
    const char* errorSuffix;
    const char* reasonPrefix;
};
constexpr SinkWording kLogWording{" : ", " error is: %s (%d)", " error is: "};
constexpr SinkWording kBoxWording{": ", " error is %s (%d)", " error is "};

std::string Expand(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string Compose(const ErrorMessage& message, const SinkWording& wording, const std::string& text) {
    std::string composed;
    if (!message.File.empty()) composed = message.File + wording.fileSeparator;
    composed += text;
    if (message.ErrorNumber != 0 && !message.Overflow) {
        char suffix[256];
        std::snprintf(suffix, sizeof suffix, wording.errorSuffix, std::strerror(message.ErrorNumber),
                      message.ErrorNumber);
        composed += suffix;
    } else if (!message.Reason.empty()) {
        composed += wording.reasonPrefix + message.Reason;
    }
    return composed;
}

}  // namespace

void ReportError(const ErrorReporter& reporter, const char* format, ...) {
    // The error number belongs to the failed call before this one; read it
    // before anything here can change it.
    ErrorMessage message;
    message.ErrorNumber = errno;
    message.File = reporter.File;
    message.Overflow = std::strlen(format) > kLongestFormat;
    if (message.Overflow) {
        message.Text = CutUtf8(std::string(kOverflowMarker) + " " + format, kTextLimit);
    } else {
        va_list args;
        va_start(args, format);
        message.Text = CutUtf8(Expand(format, args), kTextLimit);
        va_end(args);
    }
    if (reporter.Sink) reporter.Sink(message);
    // A suffix consumes the error number; an unexpanded overflow message does not.
    errno = message.Overflow ? message.ErrorNumber : 0;
}

void ReportMessage(const ErrorReporter& reporter, std::string text, int errorNumber, std::string reason) {
    ErrorMessage message;
    message.File = reporter.File;
    message.Text = CutUtf8(std::move(text), kTextLimit);
    message.ErrorNumber = errorNumber;
    message.Reason = std::move(reason);
    if (reporter.Sink) reporter.Sink(message);
}

std::string FormatForMessageBox(const ErrorMessage& message) {
    return Compose(message, kBoxWording, message.Text);
}

std::string FormatForLog(const ErrorMessage& message) {
    std::string text = message.Text;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return Compose(message, kLogWording, text) + "\n";
}

void AppendToLog(const std::filesystem::path& log, const ErrorMessage& message) {
    ErrnoKeeper keepErrno;
    const std::string line = FormatForLog(message);
    // O_APPEND makes each write land whole at the end, even when two
    // programs share the log.
    const int descriptor = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (descriptor < 0) return;
    WriteAll(descriptor, line);
    close(descriptor);
}
