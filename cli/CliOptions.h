#pragma once
// The command line of quavermill-cli.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CliOptions {
    std::optional<std::string> OutputDir;     // -o DIR
    int Jobs = 0;                             // -j N; 0: one per processor core
    bool Quiet = false;                       // -q
    bool Help = false;                        // -h, --help
    bool Version = false;                     // --version
    std::optional<std::string> SettingsFile;  // --settings FILE, instead of Quavermill.ini
    // Encoder choices for this run only, over what the settings file says.
    std::optional<int32_t> VbrSliderPosition;  // -V Q: 1001 - 100 Q
    std::optional<int32_t> Bitrate;            // -b KBPS
    bool ConstantBitrate = false;              // --cbr
    bool Mono = false;                         // -m
    std::vector<std::string> Files;            // files and folders
};

// Fills `options` from the arguments after the program name. Returns an
// empty text on success, or what is wrong with the command line.
std::string ParseCommandLine(const std::vector<std::string>& arguments, CliOptions& options);

// The --help text.
std::string UsageText();
