#pragma once
// What quavermill-cli does with its command line.

#include <string>
#include <vector>

inline constexpr int kExitConverted = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

// Converts the files named by `arguments` (the command line after the
// program name) and returns the exit status. `stopFd` becomes readable when
// the user interrupts (InstallStopSignals); the running files then stop and
// remove their partial output, and no file starts after. 130 only when a
// file was left unconverted by the stop.
int RunTool(const std::vector<std::string>& arguments, int stopFd);
