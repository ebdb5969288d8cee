#pragma once
// What a dropped path (or one named on a command line) becomes in the queue:
// a file of a supported type by itself, or every supported file of a folder.

#include <string>
#include <vector>

#include "input/SourceType.h"
#include "queue/BatchEngine.h"

struct DroppedFile {
    std::string Path;
    std::string OutputSubfolder;  // as QueuedFile keeps it
    SourceType Type = kSourceUnknown;
};

// A folder the walk could not enter or read to its end: no permission, or
// a path longer than the system takes. Its files are not converted: the tool
// counts it as a failed file, the window shows a box for it.
struct UnreadableFolder {
    std::string Path;
    std::string Reason;  // the system's words, "Permission denied"
};

// Names in natural order: runs of digits compare by their value, so "2"
// comes before "10"; otherwise ASCII letters compare without case.
bool NaturalLess(const std::string& first, const std::string& second);

// The supported audio files in `folder` and its subfolders, in natural
// order of their names, each folder's entries in one order with the
// subfolders descended where they stand. Hidden files and folders are
// skipped, links to folders are not followed, and files of other types are
// passed over. Each folder that cannot be read is added to `unreadable`.
std::vector<DroppedFile> AudioFilesInFolder(const std::string& folder, std::vector<UnreadableFolder>& unreadable);

enum class DropOutcome {
    Queued,       // the file, or the folder's files, joined the queue
    Ignored,      // not a folder, and no '.' to tell a type by
    Unsupported,  // a file of a type nothing converts, or not a regular file (a FIFO, a device)
    EmptyFolder,  // a folder without a supported file, nor one it could not read
};

// Leaves out every file that an earlier one of `files` names already, by
// another path ("Album" and "Album/01.wav"): each input is converted once.
void DropRepeatedFiles(std::vector<QueuedFile>& files);

// Adds what one dropped path stands for to `files`, as the window queues
// it: the file with the mode its own type asks for, or a folder's files one
// after the other, as if they had been dropped one by one. The folders that
// cannot be read are added to `unreadable`.
DropOutcome CollectDroppedPath(const std::string& path, std::vector<QueuedFile>& files,
                               std::vector<UnreadableFolder>& unreadable);
