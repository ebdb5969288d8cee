#pragma once
// The command line of quavermill-cli.

#include <optional>
#include <string>
#include <vector>

struct CliOptions {
    std::optional<std::string> OutputDir;  // -o DIR
    int Jobs = 0;                          // -j N; 0: one per processor core
    bool Quiet = false;                    // -q
    bool Help = false;                     // -h, --help
    std::vector<std::string> Files;
};

// Fills `options` from the arguments after the program name. Returns an
// empty text on success, or what is wrong with the command line.
std::string ParseCommandLine(const std::vector<std::string>& arguments, CliOptions& options);

// The --help text.
std::string UsageText();
