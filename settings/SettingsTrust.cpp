#include "settings/SettingsTrust.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr uid_t kRootUid = 0;
// The kernel's own limit on the links one path may pass through.
constexpr int kMaxLinkHops = 40;
constexpr mode_t kWritableByOthers = S_IWGRP | S_IWOTH;

uid_t OwnerOf(const struct stat& info, const FileOwners& owners) {
    return owners.ownerOf ? owners.ownerOf(info) : info.st_uid;
}

std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// Whoever may write a folder may replace what is in it, except that a
// sticky folder lets nobody but its owner remove another user's entry.
std::string FolderDistrust(const std::filesystem::path& entry, bool entryIsUsers, const FileOwners& owners) {
    const std::filesystem::path folder = FolderOf(entry);
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) return Quoted(folder) + ": " + std::strerror(errno);
    const uid_t owner = OwnerOf(info, owners);
    if (owner != owners.user && owner != kRootUid) return "the folder of " + Quoted(entry) + " belongs to another user";
    const bool stickyShelter = (info.st_mode & S_ISVTX) != 0 && entryIsUsers;
    if ((info.st_mode & kWritableByOthers) != 0 && !stickyShelter)
        return "other users may write to the folder of " + Quoted(entry);
    return std::string();
}

}  // namespace

FileOwners RealFileOwners() { return FileOwners{geteuid(), {}}; }

std::string JudgeSettingsFile(const std::filesystem::path& file, const FileOwners& owners,
                              std::filesystem::path& target) {
    std::filesystem::path current = file;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT) return Quoted(current) + ": " + std::strerror(errno);
            errno = 0;
            target = current;
            return FolderDistrust(current, true, owners);
        }
        const bool link = S_ISLNK(info.st_mode);
        const uid_t owner = OwnerOf(info, owners);
        if (owner != owners.user && owner != kRootUid)
            return (link ? "the link " : "") + Quoted(current) + " belongs to another user";
        // A link's own permissions mean nothing; only who may replace it counts.
        if (!link && (info.st_mode & kWritableByOthers) != 0) return "other users may write to " + Quoted(current);
        std::string folderDistrust = FolderDistrust(current, owner == owners.user, owners);
        if (!folderDistrust.empty()) return folderDistrust;
        if (!link) {
            target = current;
            return std::string();
        }
        std::error_code error;
        const std::filesystem::path next = std::filesystem::read_symlink(current, error);
        if (error) return Quoted(current) + ": " + error.message();
        current = next.is_absolute() ? next : FolderOf(current) / next;
    }
    return Quoted(file) + ": " + std::strerror(ELOOP);
}
