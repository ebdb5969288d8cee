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

TEST(ErrorReport, MessageBoxWordingAndLongContextPaths) {
    fixtures::ErrorCapture capture;
    OnFreshThread([] {
        SetErrorContext("/in.wav");
        errno = ENOENT;
        ReportError("Unrecognised format\n");
        SetErrorContext(std::string(255, 'p'));
        ReportError("no prefix");
        SetErrorContext(std::string(254, 'p'));
        ReportError("prefix");
    });
    std::vector<std::string> got = capture.messages();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], "/in.wav: Unrecognised format\n error is " + std::string(std::strerror(ENOENT)) + " (2)");
    EXPECT_EQ(got[1], "no prefix");
    EXPECT_EQ(got[2], std::string(254, 'p') + ": prefix");
}

TEST(ErrorReport, OverlongFormatsAreNotExpanded) {
    fixtures::ErrorCapture capture;
    std::string format750(750, 'x');
    format750.replace(0, 2, "%d");
    std::string format751 = format750 + "y";
    OnFreshThread([&] {
        SetErrorContext("/in.wav");
        errno = 0;
        ReportError(format750.c_str(), 7);
        errno = EIO;
        ReportError(format751.c_str(), 7);
        EXPECT_EQ(errno, EIO);  // not consumed by an unexpanded message
    });
    std::vector<std::string> got = capture.messages();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], "/in.wav: 7" + format750.substr(2));
    EXPECT_EQ(got[1], "<buffer overflow>  " + format751);
}

TEST(ErrorReport, MessagesAreCutAt1023Bytes) {
    fixtures::ErrorCapture capture;
    OnFreshThread([] {
        errno = 0;
        ReportError("%s", std::string(2000, 'm').c_str());
        ReportError("%s", (std::string(1022, 'm') + "é").c_str());
    });
    std::vector<std::string> got = capture.messages();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], std::string(1023, 'm'));
    EXPECT_EQ(got[1], std::string(1022, 'm'));  // the two-byte character does not fit whole
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
