#pragma once
// With errors going to the log file, a batch in which files failed ends
// looking exactly like one in which every file converted; a desktop
// notification tells the user to look at the log.

#include <string>

// Sends one notification through the freedesktop notification service on
// the session bus, saying how many files failed and naming `logPath`, when
// `failedCount` is above 0 and `errorsToLog` is set; nothing otherwise
// (errors shown in boxes were seen already). Without a session bus or a
// notification service nothing is shown and nothing is said.
void NoticeBatchFailures(int failedCount, bool errorsToLog, const std::string& logPath);
