#include "queue/BatchClaims.h"

#include <sys/stat.h>

#include <algorithm>

#include "job/OutputNaming.h"
#include "settings/ErrorReport.h"

namespace {

// An output named before it was written learns its inode once it exists,
// so that an input linked to it later is still caught.
void Refresh(FileKey& key) {
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
    return first.Path == second.Path;
}

bool AnyIsSame(const std::vector<FileKey>& keys, const FileKey& key) {
    return std::any_of(keys.begin(), keys.end(), [&](const FileKey& other) { return SameFile(other, key); });
}

}  // namespace

FileKey KeyOfFile(const std::string& path) {
    FileKey key;
    key.Path = ComparablePath(path);
    Refresh(key);
    return key;
}

void AddBatchInput(BatchClaims& claims, const FileKey& input) {
    claims.Inputs.push_back(input);
}

bool ClaimOutput(BatchClaims& claims, const std::string& input, const std::string& output) {
    const FileKey ownInput = KeyOfFile(input);
    const FileKey claimed = KeyOfFile(output);
    for (const FileKey& other : claims.Inputs) {
        if (!SameFile(other, ownInput) && SameFile(other, claimed)) return false;
    }
    for (FileKey& granted : claims.Outputs) Refresh(granted);
    if (AnyIsSame(claims.Outputs, claimed) || AnyIsSame(claims.Outputs, ownInput)) return false;
    claims.Outputs.push_back(claimed);
    return true;
}
