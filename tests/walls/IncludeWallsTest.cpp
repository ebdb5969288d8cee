// Every #include must follow the walls below: between the program's own
// folders, and around the libraries that belong behind one of them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/Fixtures.h"

namespace fs = std::filesystem;

// settings <- input <- job <- encode, decode <- queue <- the two programs.
const std::map<std::string, std::set<std::string>> kAllowedFolders = {
    {"settings", {}},
    {"input", {"settings"}},
    {"job", {"settings", "input"}},
    {"encode", {"settings", "input", "job"}},
    {"decode", {"settings", "input", "job"}},
    {"queue", {"settings", "input", "job", "encode", "decode"}},
    {"ui", {"settings", "input", "job", "encode", "decode", "queue"}},
    {"app", {"settings", "input", "job", "encode", "decode", "queue", "ui", "resources"}},
    {"resources", {}},
    {"cli", {"settings", "input", "job", "encode", "decode", "queue"}},
    {"tools", {"settings", "input", "job", "encode", "decode", "queue", "ui", "app", "resources"}},
};

// The standard library and the system's (and the kernel's) own headers may be used anywhere.
const std::regex kStandardHeader(R"(^[a-z_]+$|^(unistd|fcntl|poll)\.h$|^(sys|linux)/)");
// Every other library belongs behind one wall: the encoder to the encode
// job, Qt to the desktop program, and any other, a decoder, to the readers.
const std::vector<std::pair<std::regex, std::set<std::string>>> kLibraryRules = {
    {std::regex(R"(^lame/)"), {"encode"}},
    {std::regex(R"(^Q[A-Za-z]*(/|$))"), {"app", "ui", "resources", "tools"}},
    {std::regex(""), {"input"}},
};

// The crossings of every source file below `root`, one line each.
static std::vector<std::string> Crossings(const fs::path& root) {
    static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<std::string> crossings;
    for (const auto& [folder, allowed] : kAllowedFolders) {
        if (!fs::exists(root / folder)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            if (const fs::path extension = entry.path().extension(); extension != ".h" && extension != ".cpp") continue;
            std::ifstream in(entry.path());
            std::smatch match;
            for (std::string line; std::getline(in, line);) {
                if (!std::regex_search(line, match, kInclude)) continue;
                const std::string header = match[2];
                const std::string where = fs::relative(entry.path(), root).string() + " includes " + header;
                if (match[1] == "<") {
                    if (std::regex_search(header, kStandardHeader)) continue;
                    const auto rule = std::find_if(kLibraryRules.begin(), kLibraryRules.end(),
                                                   [&](const auto& r) { return std::regex_search(header, r.first); });
                    if (!rule->second.count(folder)) crossings.push_back(where);
                    continue;
                }
                const std::string target = header.substr(0, header.find('/'));  // "X.h" names no folder: a crossing
                if (target != folder && !allowed.count(target)) crossings.push_back(where);
            }
        }
    }
    return crossings;
}

TEST(IncludeWalls, NoIncludeCrossesAWall) {
    EXPECT_EQ(Crossings(QM_SOURCE_DIR), std::vector<std::string>{});
}

// The check itself: a reader that includes the encoder or a job, a job that
// includes the other job, the core that includes a face, Qt or a decoder.
TEST(IncludeWalls, ACrossingIsFound) {
    fixtures::TempDir root;
    const std::pair<std::string, std::string> files[] = {
        {"decode/Job.cpp", "  #  include \"encode/EncodeLoop.h\"\n"},
        {"input/Reader.cpp", "#include <lame/lame.h>\n#include <somecodec.h>\n#include \"encode/EncodeJob.h\"\n"},
        {"queue/Worker.cpp", "#include \"app/MainWindow.h\"\n#include <QString>\n#include <sys/types.h>\n"
                             "#include <somecodec.h>\n"},
    };
    for (const auto& [name, text] : files) {
        fs::create_directories((root / name).parent_path());
        fixtures::WriteText(root / name, text);
    }
    // Folders in name order, one file each, lines in their order.
    EXPECT_EQ(Crossings(root.path()),
              (std::vector<std::string>{
                  "decode/Job.cpp includes encode/EncodeLoop.h", "input/Reader.cpp includes lame/lame.h",
                  "input/Reader.cpp includes encode/EncodeJob.h", "queue/Worker.cpp includes app/MainWindow.h",
                  "queue/Worker.cpp includes QString", "queue/Worker.cpp includes somecodec.h"}));
}
