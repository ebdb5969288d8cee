#include "job/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "job/FileIdentity.h"
#include "settings/ErrorReport.h"

namespace {

// The umask takes from this, as it did for a file opened with "w+b".
constexpr mode_t kNewFileMode = 0666;
// Tries at a free hidden name before giving up.
constexpr int kNameTries = 100;
constexpr std::size_t kRandomLetters = 8;
// Room left in a name of at most 255 bytes for the dot and the suffix.
constexpr std::size_t kLongestKeptName = 200;
constexpr const char* kUnnamedFiles = "/proc/self/fd/";

std::string HiddenNameFor(const std::string& name) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string hidden = "." + name.substr(0, kLongestKeptName) + ".part-";
    for (std::size_t i = 0; i < kRandomLetters; ++i) hidden += kLetters[pick(random)];
    return hidden;
}

}  // namespace

const FileSystemCalls& SystemFileCalls() {
    static const FileSystemCalls calls{::fsync, ::renameat, ::unlink};
    return calls;
}

PendingOutput::PendingOutput(std::string finalPath, const FileSystemCalls& calls) : calls_(calls) {
    FolderAndName parts = SplitFolderAndName(finalPath);
    folder_ = std::move(parts.Folder);
    name_ = std::move(parts.Name);
}

PendingOutput::~PendingOutput() { Abandon(); }

bool PendingOutput::Open() {
    // The probes below must not decorate the job's later messages.
    const int errnoBefore = errno;
    folderFd_ = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd_ < 0) return false;
    struct stat existing {};
    // A folder at the final name could never be replaced; say so before any audio is read.
    if (fstatat(folderFd_, name_.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(existing.st_mode)) {
        errno = EISDIR;
        return false;
    }
    // The unnamed file is named later through /proc; without it, only a hidden one will do.
    int fd = access(kUnnamedFiles, X_OK) == 0 ? openat(folderFd_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, kNewFileMode)
                                              : -1;
    if (fd < 0 && !CreateHidden(fd)) return false;
    stream_ = fdopen(fd, "w+b");
    if (stream_) {
        errno = errnoBefore;
        return true;
    }
    close(fd);
    return false;
}

bool PendingOutput::CreateHidden(int& fd) {
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const std::string hidden = HiddenNameFor(name_);
        fd = openat(folderFd_, hidden.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0) {
            hiddenName_ = hidden;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool PendingOutput::LinkUnnamed() {
    const std::string unnamed = kUnnamedFiles + std::to_string(fileno(stream_));
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        const std::string hidden = HiddenNameFor(name_);
        if (linkat(AT_FDCWD, unnamed.c_str(), folderFd_, hidden.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            hiddenName_ = hidden;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool PendingOutput::Commit(bool durable) {
    if (!stream_) return false;
    if (std::fflush(stream_) != 0) return false;
    if (durable && calls_.Sync(fileno(stream_)) != 0) return false;
    if (hiddenName_.empty() && !LinkUnnamed()) return false;
    // Closed before the rename: a file system that reports a lost write
    // only at close (NFS) must not have replaced the earlier file by then.
    std::FILE* stream = stream_;
    stream_ = nullptr;
    if (std::fclose(stream) != 0) return false;
    if (calls_.Rename(folderFd_, hiddenName_.c_str(), folderFd_, name_.c_str()) != 0) return false;
    hiddenName_.clear();
    return !durable || calls_.Sync(folderFd_) == 0;
}

void PendingOutput::Abandon() {
    ErrnoKeeper keepErrno;
    if (stream_) std::fclose(stream_);
    stream_ = nullptr;
    if (!hiddenName_.empty()) unlinkat(folderFd_, hiddenName_.c_str(), 0);
    hiddenName_.clear();
    if (folderFd_ >= 0) close(folderFd_);
    folderFd_ = -1;
}
