#include "cli/CliOptions.h"

#include <charconv>

#include "input/SourceType.h"
#include "settings/LegalBitrates.h"

namespace {

constexpr int kMostJobs = 256;
// -V takes the quality level as the slider stores it: hundredths from 0 to 10.
constexpr int32_t kSliderTop = 1001;
constexpr int32_t kHundredthsPerLevel = 100;
constexpr int32_t kLowestLevelHundredths = 1000;

bool ParseWhole(const std::string& text, int lowest, int highest, int& result) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) return false;
    result = value;
    return true;
}

// "0" to "10" with at most two decimals, read exactly (no binary fraction).
bool ParseHundredths(const std::string& text, int32_t& hundredths) {
    const std::size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    const std::string fraction = dot == std::string::npos ? std::string() : text.substr(dot + 1);
    if (whole.empty() || fraction.size() > 2 || (dot != std::string::npos && fraction.empty())) return false;
    for (char c : whole + fraction) {
        if (c < '0' || c > '9') return false;
    }
    int level = 0;
    if (!ParseWhole(whole, 0, 10, level)) return false;
    int32_t value = level * kHundredthsPerLevel;
    if (!fraction.empty()) value += std::stoi(fraction) * (fraction.size() == 1 ? 10 : 1);
    if (value > kLowestLevelHundredths) return false;
    hundredths = value;
    return true;
}

// Options that take the next argument as their value.
std::string TakeValue(const std::string& option, const std::string& value, CliOptions& options) {
    if (option == "-o") {
        if (value.empty()) return "option -o needs a directory";
        options.OutputDir = value;
    } else if (option == "-j") {
        if (!ParseWhole(value, 1, kMostJobs, options.Jobs)) {
            return "option -j needs a whole number from 1 to " + std::to_string(kMostJobs) + ", not '" + value + "'";
        }
    } else if (option == "-V") {
        int32_t hundredths = 0;
        if (!ParseHundredths(value, hundredths)) {
            return "option -V needs a quality from 0 to 10 with at most two decimals, not '" + value + "'";
        }
        options.VbrSliderPosition = kSliderTop - hundredths;
    } else if (option == "-b") {
        int kbps = 0;
        if (!ParseWhole(value, kMinBitrate, kMaxBitrate, kbps)) {
            return "option -b needs a bitrate from " + std::to_string(kMinBitrate) + " to " +
                   std::to_string(kMaxBitrate) + " kbit/s, not '" + value + "'";
        }
        options.Bitrate = kbps;
    } else if (option == "--settings") {
        if (value.empty()) return "option --settings needs a file";
        options.SettingsFile = value;
    }
    return std::string();
}

bool TakesValue(const std::string& option) {
    return option == "-o" || option == "-j" || option == "-V" || option == "-b" || option == "--settings";
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
        } else if (argument == "--version") {
            options.Version = true;
        } else if (argument == "-q" || argument == "--quiet") {
            options.Quiet = true;
        } else if (argument == "-m") {
            options.Mono = true;
        } else if (argument == "--cbr") {
            options.ConstantBitrate = true;
        } else if (TakesValue(argument)) {
            if (i + 1 >= arguments.size()) return "option " + argument + " needs a value";
            if (std::string problem = TakeValue(argument, arguments[++i], options); !problem.empty()) return problem;
        } else {
            return "unknown option '" + argument + "'";
        }
    }
    if (options.Help || options.Version) return std::string();
    if (options.VbrSliderPosition && (options.Bitrate || options.ConstantBitrate)) {
        return "option -V (a VBR quality) cannot go with -b or --cbr (a bitrate)";
    }
    if (options.Files.empty()) return "no input files given";
    return std::string();
}

std::string UsageText() {
    return "Usage: quavermill-cli [OPTION]... FILE_OR_FOLDER...\n"
           "\n"
           "Converts each FILE by its own extension:\n"
           "  " + ExtensionsConvertedBy(InputJob::Encode) + " become MP3 files,\n"
           "  " + ExtensionsConvertedBy(InputJob::Decode) + " become 16-bit WAV files.\n"
           "Each output is written beside its input under the input's base name, or into\n"
           "DIR. A FOLDER converts the supported files in it and in its subfolders, in name\n"
           "order (hidden ones and links to folders are skipped); with -o they keep their\n"
           "place below DIR/FOLDER.\n"
           "\n"
           "Options:\n"
           "  -o DIR           write every output into the directory DIR (it must exist)\n"
           "  -j N             convert up to N files at once (default: one per processor core)\n"
           "  -V Q             VBR quality Q from 0 (best) to 10, in hundredths (e.g. 2.5)\n"
           "  -b KBPS          average bitrate from 8 to 320 kbit/s\n"
           "  --cbr            constant bitrate: the legal MP3 bitrate nearest to -b KBPS\n"
           "                   (or to the settings file's bitrate)\n"
           "  -m               mono output\n"
           "  --settings FILE  read the settings from FILE instead of Quavermill.ini\n"
           "  -q               no progress line and no summary; errors are still printed\n"
           "  -h, --help       show this help\n"
           "  --version        show the version\n"
           "  --               every argument after this one is a file\n"
           "\n"
           "Encoder, tag and delete-input settings come from Quavermill.ini in the current\n"
           "directory when it is there; the file is never written. -V, -b, --cbr and -m\n"
           "override its encoder choices for this run. Errors always go to standard error\n"
           "(never to Quavermill.log), each naming its input file.\n"
           "An existing output file is replaced once its conversion has succeeded, never\n"
           "before. Ctrl-C stops the running files, leaves what was at their output names\n"
           "and starts no other file.\n"
           "\n"
           "Exit status: 0 when every file was converted, 1 when any file failed,\n"
           "2 for a wrong command line, 130 when interrupted before every file was done.\n";
}
