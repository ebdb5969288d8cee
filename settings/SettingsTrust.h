#pragma once
// Which settings files may be read and written: only those the user (or
// root) wrote, in a folder nobody else may change. A Quavermill.ini planted
// in a shared folder such as /tmp would otherwise choose where the outputs
// go and which inputs are deleted. It is the rule git applies to
// repositories since its safe.directory fix.

#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>

// Whom the program runs for, and who owns what it looks at. Tests stand in
// for chown with `ownerOf`.
struct FileOwners {
    uid_t user = 0;
    // The owner of the file `info` describes; empty: its st_uid.
    std::function<uid_t(const struct stat& info)> ownerOf;
};
// The effective user, and the file system's own answers.
FileOwners RealFileOwners();

// Empty when `file` may be read and replaced as a settings file; otherwise
// why not, naming the path at fault. Each symbolic link on the way must be
// the user's or root's, in a folder judged as for a file, which refuses
// whatever the kernel's protected_symlinks rule refuses; the file at the end
// must be the user's or root's, writable by no one else, in a folder that is
// the user's or root's and writable by no one else, unless that folder is
// sticky and the file is the user's. A file that does not exist yet is
// judged by its folder, as the user's. `target` receives the path at the
// end of the links.
std::string JudgeSettingsFile(const std::filesystem::path& file, const FileOwners& owners,
                              std::filesystem::path& target);
