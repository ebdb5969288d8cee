#include "settings/SettingsFolder.h"

#include <cstdlib>

namespace {

constexpr const char* kFolderName = "quavermill";

std::string& Folder() {
    static std::string folder;
    return folder;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

}  // namespace

void SetSettingsFolder(const std::string& folder) { Folder() = folder; }

std::string SettingsFilePath(const std::string& fileName) {
    const std::string& folder = Folder();
    if (folder.empty()) return fileName;
    return folder.back() == '/' ? folder + fileName : folder + "/" + fileName;
}

std::string DesktopSettingsFolder() {
    std::string base = Environment("XDG_CONFIG_HOME");
    if (base.empty() || base.front() != '/') {
        const std::string home = Environment("HOME");
        if (home.empty()) return std::string();
        base = home + "/.config";
    }
    if (base.back() != '/') base += '/';
    return base + kFolderName;
}
