#include "app/ProgramArguments.h"

#include "job/OutputNaming.h"

std::string ParseProgramArguments(const std::vector<std::string>& arguments, ProgramArguments& parsed) {
    bool onlyPaths = false;
    for (const std::string& argument : arguments) {
        if (onlyPaths || argument.empty() || argument[0] != '-') {
            if (!argument.empty()) parsed.Paths.push_back(AbsolutePath(argument));
        } else if (argument == "--") {
            onlyPaths = true;
        } else if (argument == "--desktop") {
            parsed.Desktop = true;
        } else if (argument == "-h" || argument == "--help") {
            parsed.Help = true;
        } else if (argument == "--version") {
            parsed.Version = true;
        } else {
            return "unknown option '" + argument + "'";
        }
    }
    return std::string();
}

std::string ProgramUsageText() {
    return "Usage: quavermill [--desktop] [FILE_OR_FOLDER]...\n"
           "\n"
           "Opens the Quavermill window and converts each FILE as if it had been dropped on\n"
           "it; a FOLDER converts the supported files inside it and its subfolders. When\n"
           "Quavermill already runs with the same settings, the files join its queue.\n"
           "\n"
           "  --desktop   keep Quavermill.ini and Quavermill.log in $XDG_CONFIG_HOME/quavermill\n"
           "              (the menu entry passes it); otherwise they live in the working directory\n"
           "  -h, --help  show this help\n"
           "  --version   show the version\n";
}
