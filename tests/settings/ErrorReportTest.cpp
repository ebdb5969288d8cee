#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <thread>

#include "settings/ErrorReport.h"
#include "support/Fixtures.h"

using fixtures::ReadText;
using fixtures::ScopedWorkingDir;
using fixtures::TempDir;

namespace {

// Runs `report` on a fresh thread, so the error context starts empty.
template <typename Report>
void OnFreshThread(Report report) {
    std::thread thread(report);
    thread.join();
}

}  // namespace

TEST(ErrorReport, LogEntryTextWithAndWithoutErrorNumber) {
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    SelectErrorSink(8);
    OnFreshThread([] {
        errno = 0;
        ReportError("before any job %d\n", 1);
        SetErrorContext("/music/in.wav");
        errno = EACCES;
        ReportError("Can't init outfile '%s'\n", "/out/x.wav");
        EXPECT_EQ(errno, 0);
        ReportError("second %s", "report");
    });
    SelectErrorSink(0);
    std::ostringstream expected;
    expected << "before any job 1\n\n"
             << "/music/in.wav : Can't init outfile '/out/x.wav'\n error is: " << std::strerror(EACCES) << " (13)\n"
             << "/music/in.wav : second report\n";
    EXPECT_EQ(ReadText(dir / "Quavermill.log"), expected.str());
}

TEST(ErrorReport, MessageBoxWordingAndTheLimitsOfAMessage) {
    fixtures::ErrorCapture capture;
    std::string format750(750, 'x');
    format750.replace(0, 2, "%d");
    const std::string format751 = format750 + "y";
    OnFreshThread([&] {
        errno = 0;
        ReportError("%s", std::string(2000, 'm').c_str());
        ReportError("%s", (std::string(1022, 'm') + "é").c_str());
        SetErrorContext("/in.wav");
        errno = ENOENT;
        ReportError("Unrecognised format\n");
        ReportError(format750.c_str(), 7);
        errno = EIO;
        ReportError(format751.c_str(), 7);
        EXPECT_EQ(errno, EIO);  // not consumed by an unexpanded message
        errno = 0;
        SetErrorContext(std::string(255, 'p'));
        ReportError("no prefix");
        SetErrorContext(std::string(254, 'p'));
        ReportError("prefix");
    });
    const std::vector<std::string> expected = {
        std::string(1023, 'm'),
        std::string(1022, 'm'),  // the two-byte character does not fit whole
        "/in.wav: Unrecognised format\n error is " + std::string(std::strerror(ENOENT)) + " (2)",
        "/in.wav: 7" + format750.substr(2),
        "<buffer overflow>  " + format751,
        "no prefix",
        std::string(254, 'p') + ": prefix",
    };
    EXPECT_EQ(capture.messages(), expected);
}

TEST(ErrorReport, ConcurrentLogEntriesStayWhole) {
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    SelectErrorSink(8);
    const int kEach = 300;
    auto writer = [&](char letter) {
        SetErrorContext(std::string(1, letter));
        for (int i = 0; i < kEach; ++i) {
            errno = 0;
            ReportError("%s", std::string(500, letter).c_str());
        }
    };
    std::thread a(writer, 'a');
    std::thread b(writer, 'b');
    a.join();
    b.join();
    SelectErrorSink(0);
    std::istringstream log(ReadText(dir / "Quavermill.log"));
    std::string line;
    int lines = 0;
    while (std::getline(log, line)) {
        ++lines;
        char letter = line.front();
        EXPECT_EQ(line, std::string(1, letter) + " : " + std::string(500, letter));
    }
    EXPECT_EQ(lines, 2 * kEach);
}
