#pragma once
// What quavermill-cli does with its command line.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kExitConverted = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

// Converts the files named by `arguments` (the command line after the
// program name) and returns the exit status. `stop` becomes nonzero when the
// user interrupts; running files then stop and remove their partial output.
int RunTool(const std::vector<std::string>& arguments, const std::atomic<int32_t>& stop);
