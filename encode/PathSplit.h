#pragma once
// How a job names things after its input path: the names the path-derived
// tags use, and the output file's path.

#include <string>

struct InputPathParts {
    std::string Directory;        // everything up to and including the last '/'; empty when there is none
    std::string FileName;         // after the last '/'
    std::string BaseName;         // FileName without its last '.' and what follows
    std::string ParentName;       // the folder holding the file; " " when the path starts there
    std::string GrandParentName;  // the folder holding that one; " " or empty at the start of the path
};

// Reaching the start of the path while looking for a folder's leading '/'
// gives " ", as a drive's ':' did on the system these names come from; a
// file whose parent is already " " gets an empty grand-parent name.
InputPathParts SplitInputPath(const std::string& inputPath);

// outputDir is the output directory in force with its trailing '/' already
// removed (TakeActiveOutputDirForJob); empty means beside the input.
// Gives Directory + BaseName + extension, or outputDir + "/" + BaseName +
// extension. `extension` includes its dot (".mp3", ".wav").
std::string BuildOutputPath(const InputPathParts& parts, const std::string& outputDir, const std::string& extension);

// True when the two paths name one file: the same text, or, when both exist,
// the same file through a link or a case-insensitive mount. Leaves errno as
// it found it, so the probing never decorates a later message.
bool NamesSameFile(const std::string& first, const std::string& second);
