#include "cli/CliOptions.h"

#include <charconv>

namespace {

constexpr int kMostJobs = 256;

bool ParseJobCount(const std::string& text, int& jobs) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > kMostJobs) return false;
    jobs = value;
    return true;
}

}  // namespace

std::string ParseCommandLine(const std::vector<std::string>& arguments, CliOptions& options) {
    bool onlyFiles = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyFiles || argument.empty() || argument[0] != '-' || argument == "-") {
            options.Files.push_back(argument);
        } else if (argument == "--") {
            onlyFiles = true;
        } else if (argument == "-h" || argument == "--help") {
            options.Help = true;
        } else if (argument == "-q" || argument == "--quiet") {
            options.Quiet = true;
        } else if (argument == "-o" || argument == "-j") {
            if (i + 1 >= arguments.size()) return "option " + argument + " needs a value";
            const std::string& value = arguments[++i];
            if (argument == "-o") {
                if (value.empty()) return "option -o needs a directory";
                options.OutputDir = value;
            } else if (!ParseJobCount(value, options.Jobs)) {
                return "option -j needs a whole number from 1 to " + std::to_string(kMostJobs) + ", not '" + value +
                       "'";
            }
        } else {
            return "unknown option '" + argument + "'";
        }
    }
    if (!options.Help && options.Files.empty()) return "no input files given";
    return std::string();
}

std::string UsageText() {
    return "Usage: quavermill-cli [-o DIR] [-j N] [-q] FILE...\n"
           "\n"
           "Converts each FILE by its own extension: .wav .aif .ogg .flac become MP3 files,\n"
           ".mp3 .mp2 .mp1 .mpg become 16-bit WAV files. Each output is written beside its\n"
           "input under the input's base name, or into DIR.\n"
           "\n"
           "Options:\n"
           "  -o DIR   write every output into the directory DIR (it must exist)\n"
           "  -j N     convert up to N files at once (default: one per processor core)\n"
           "  -q       no progress line and no summary; errors are still printed\n"
           "  -h       show this help\n"
           "  --       every argument after this one is a file\n"
           "\n"
           "Encoder, tag and delete-input settings come from Quavermill.ini in the current\n"
           "directory when it is there; the file is never written. Errors always go to\n"
           "standard error (never to Quavermill.log), each naming its input file.\n"
           "An existing output file is overwritten. Ctrl-C stops the running files and\n"
           "removes their partial outputs.\n"
           "\n"
           "Exit status: 0 when every file was converted, 1 when any file failed,\n"
           "2 for a wrong command line, 130 when interrupted.\n";
}
