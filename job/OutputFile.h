#pragma once
// An output written as a transaction, after git's lock files: the job writes
// a new file no one else sees, in the output's own folder, and only a
// conversion that fully succeeded renames it over the final name. A failed,
// stopped or killed run leaves whatever was at that name, and a link there
// is replaced, never written through.

#include <cstdio>
#include <functional>
#include <string>

// The calls that make an output final and delete an input, in the order
// that keeps either the input or the output through a power cut; a test
// puts its own in to see that order.
struct FileSystemCalls {
    std::function<int(int fd)> Sync;
    std::function<int(int fromFolder, const char* from, int toFolder, const char* to)> Rename;
    std::function<int(const char* path)> Unlink;
};
const FileSystemCalls& SystemFileCalls();

class PendingOutput {
public:
    PendingOutput(std::string finalPath, const FileSystemCalls& calls);
    // Removes the new file unless it was committed.
    ~PendingOutput();
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;

    // Creates the new file: unnamed (O_TMPFILE), so that even a killed
    // process leaves nothing, or else hidden beside the final name. False
    // with errno set when the folder takes no new file.
    bool Open();
    // Open for reading and writing at its start; null before Open.
    std::FILE* Stream() const { return stream_; }
    // Writes out what is buffered and puts the file under its final name.
    // `durable`: the data, and then the folder entry, reach the disk first
    // (before an input is deleted). False with errno set when the file
    // cannot be kept; the final name is then untouched unless the rename
    // itself was done.
    bool Commit(bool durable);

private:
    bool CreateHidden(int& fd);
    bool LinkUnnamed();
    void Abandon();

    const FileSystemCalls& calls_;
    std::string folder_;
    std::string name_;
    std::string hiddenName_;  // the name the new file has in the folder until the rename; empty while unnamed
    int folderFd_ = -1;
    std::FILE* stream_ = nullptr;
};
