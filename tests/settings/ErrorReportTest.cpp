#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <thread>

#include "settings/ErrorReport.h"
#include "support/Fixtures.h"

TEST(ErrorReport, BoxAndLogWordingAndTheLimitsOfAMessage) {
    std::string format750(750, 'x');
    format750.replace(0, 2, "%d");
    const std::string format751 = format750 + "y";
    const std::string denied = std::strerror(EACCES);
    std::vector<ErrorMessage> messages;
    const ErrorSink sink = [&messages](const ErrorMessage& message) { messages.push_back(message); };
    const ErrorReporter none{{}, sink}, file{"/in.wav", sink};
    errno = 0;
    ReportError(none, "%s", std::string(2000, 'm').c_str());
    ReportError(none, "%s", (std::string(1022, 'm') + "é").c_str());
    errno = EACCES;
    ReportError(file, "Can't init outfile '%s'\n", "/out/x.wav");
    EXPECT_EQ(errno, 0);  // one failed call decorates one message
    ReportError(file, format750.c_str(), 7);
    errno = EIO;
    ReportError(file, format751.c_str(), 7);
    EXPECT_EQ(errno, EIO);  // not consumed by an unexpanded message
    errno = 0;
    ReportError(ErrorReporter{std::string(300, 'p'), sink}, "long paths keep their prefix");
    ASSERT_EQ(messages.size(), 6u);
    const std::vector<std::string> boxes = {
        std::string(1023, 'm'),
        std::string(1022, 'm'),  // the two-byte character does not fit whole
        "/in.wav: Can't init outfile '/out/x.wav'\n error is " + denied + " (13)",
        "/in.wav: 7" + format750.substr(2),
        "/in.wav: <buffer overflow>  " + format751,
        std::string(300, 'p') + ": long paths keep their prefix",
    };
    for (std::size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(FormatForMessageBox(messages[i]), boxes[i]) << i;
    // A log line is one line that starts with the file's path.
    EXPECT_EQ(FormatForLog(messages[2]), "/in.wav : Can't init outfile '/out/x.wav' error is: " + denied + " (13)\n");
    EXPECT_EQ(FormatForLog(messages[0]), std::string(1023, 'm') + "\n");
}

TEST(ErrorReport, LinesOfSeveralWorkersStayWhole) {
    fixtures::TempDir dir;
    const std::filesystem::path log = dir / "Quavermill.log";
    const int kEach = 300;
    auto writer = [&](char letter) {
        const ErrorReporter reporter{std::string(1, letter), [&log](const ErrorMessage& m) { AppendToLog(log, m); }};
        for (int i = 0; i < kEach; ++i) {
            errno = 0;
            ReportError(reporter, "%s\n", std::string(500, letter).c_str());
        }
    };
    {
        std::jthread a(writer, 'a'), b(writer, 'b');
    }
    std::istringstream lines(fixtures::ReadText(log));
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        const char letter = line.front();
        EXPECT_EQ(line, std::string(1, letter) + " : " + std::string(500, letter));
    }
    EXPECT_EQ(count, 2 * kEach);
}
