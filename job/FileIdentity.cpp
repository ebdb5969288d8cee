#include "job/FileIdentity.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>

#include "input/AsciiCase.h"
#include "settings/ErrorReport.h"

bool FolderFoldsCase(int folderFd) {
    int flags = 0;
    if (ioctl(folderFd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_CASEFOLD_FL) != 0) return true;
    struct statfs system {};
    if (fstatfs(folderFd, &system) != 0) return false;
    return system.f_type == MSDOS_SUPER_MAGIC || system.f_type == EXFAT_SUPER_MAGIC;
}

FolderAndName SplitFolderAndName(const std::string& path) {
    const std::size_t last = path.rfind('/');
    if (last == std::string::npos) return {".", path};
    return {last == 0 ? "/" : path.substr(0, last), path.substr(last + 1)};
}

FileKey KeyOfFile(const std::string& path, const CaseFoldProbe& foldsCase) {
    ErrnoKeeper keepErrno;
    FileKey key;
    key.Path = path;
    const FolderAndName parts = SplitFolderAndName(path);
    key.Name = parts.Name;
    const int folder = open(parts.Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat info {};
    if (folder >= 0 && fstat(folder, &info) == 0) {
        key.FolderFound = true;
        key.FolderDevice = info.st_dev;
        key.FolderInode = info.st_ino;
        if (foldsCase && foldsCase(folder)) std::transform(key.Name.begin(), key.Name.end(), key.Name.begin(), FoldAscii);
    }
    if (folder >= 0) close(folder);
    RefreshKey(key);
    return key;
}

void RefreshKey(FileKey& key) {
    if (key.Exists) return;
    ErrnoKeeper keepErrno;
    struct stat info {};
    if (stat(key.Path.c_str(), &info) != 0) return;
    key.Exists = true;
    key.Device = info.st_dev;
    key.Inode = info.st_ino;
}

bool SameFile(const FileKey& first, const FileKey& second) {
    if (first.Exists && second.Exists) return first.Device == second.Device && first.Inode == second.Inode;
    if (first.FolderFound && second.FolderFound) {
        return first.FolderDevice == second.FolderDevice && first.FolderInode == second.FolderInode &&
               first.Name == second.Name;
    }
    return first.Path == second.Path;
}
