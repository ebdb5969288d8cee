#pragma once
// Which file a path names, as the kernel resolves it: the folder it stands in
// (with its links and ".." steps followed the way the kernel follows them)
// plus its name there, and the file itself once it exists. Two spellings of
// one file, or of one output still to be written, get equal keys.

#include <sys/types.h>

#include <functional>
#include <string>

// Whether the folder open as `folderFd` matches names without regard to case.
using CaseFoldProbe = std::function<bool(int folderFd)>;
// The file system's answer: a casefolded ext4 or f2fs folder, a vfat or exFAT mount.
bool FolderFoldsCase(int folderFd);

struct FileKey {
    std::string Path;  // as given; compared only when its folder cannot be reached
    bool FolderFound = false;
    dev_t FolderDevice = 0;
    ino_t FolderInode = 0;
    std::string Name;  // the last step, its ASCII letters folded in a folder that folds case
    bool Exists = false;  // the file the name leads to, links followed
    dev_t Device = 0;
    ino_t Inode = 0;
};

// Leaves errno as it found it.
FileKey KeyOfFile(const std::string& path, const CaseFoldProbe& foldsCase = FolderFoldsCase);
// An output named before it was written learns its inode once it exists, so
// that an input linked to it later is still caught.
void RefreshKey(FileKey& key);
// Existing files are one file when device and inode agree; otherwise the
// folder and the name must.
bool SameFile(const FileKey& first, const FileKey& second);

// The folder part of a path ("." when it has none, "/" at the root) and the
// last step after it.
struct FolderAndName {
    std::string Folder;
    std::string Name;
};
FolderAndName SplitFolderAndName(const std::string& path);
