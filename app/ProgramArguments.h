#pragma once
// The desktop program's command line: files and folders to convert, as if
// dropped on the window, and where the settings live.

#include <string>
#include <vector>

struct ProgramArguments {
    // Started from the desktop menu or a file manager (the desktop entry
    // passes --desktop): the settings and the log live in the desktop's
    // settings folder instead of the working directory.
    bool Desktop = false;
    bool Help = false;
    bool Version = false;
    std::vector<std::string> Paths;  // absolute
};

// `arguments` are those after the program name (Qt's own options already
// taken out). Relative paths are made absolute against the working
// directory. Returns an empty text, or what is wrong.
std::string ParseProgramArguments(const std::vector<std::string>& arguments, ProgramArguments& parsed);

std::string ProgramUsageText();
