// Writes the desktop entry from its template at build time, so that the
// MIME types it offers the file manager are those of the format table.
// Usage: quavermill_desktop_entry TEMPLATE OUTPUT

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "input/SourceType.h"

namespace {

constexpr const char* kPlaceholder = "@MIME_TYPES@";

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: quavermill_desktop_entry TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::ostringstream text;
    text << in.rdbuf();
    std::string entry = text.str();
    const std::size_t at = entry.find(kPlaceholder);
    if (!in || at == std::string::npos) {
        std::cerr << argv[1] << ": cannot be read, or holds no " << kPlaceholder << "\n";
        return 1;
    }
    entry.replace(at, std::string(kPlaceholder).size(), InputMimeTypes());
    std::ofstream out(argv[2], std::ios::binary);
    out << entry;
    out.close();
    if (!out) {
        std::cerr << argv[2] << ": cannot be written\n";
        return 1;
    }
    return 0;
}
