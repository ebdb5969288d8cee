#pragma once
// How a job names things after its input path (the names the path-derived
// tags use, and the output file's path), and the checks that keep an output
// from landing on a file it must not replace.

#include <string>

#include "job/JobHooks.h"

// What each job's output is named with, after the input's base name.
inline constexpr const char* kMp3Extension = ".mp3";
inline constexpr const char* kWavExtension = ".wav";

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
// removed (JobOutputDir), "/" kept; empty means beside the input.
// Gives Directory + BaseName + extension, or outputDir + "/" + BaseName +
// extension. `extension` includes its dot (".mp3", ".wav").
std::string BuildOutputPath(const InputPathParts& parts, const std::string& outputDir, const std::string& extension);

// The path made absolute with its folders as the kernel resolves them: a
// link followed by ".." leads where the kernel says, never to the text's
// parent. The last step stays as named (a link there is what the user
// named), except "." and "..", which are resolved too. Unchanged but for the
// working directory in front when its folder cannot be reached. Leaves
// errno as it found it.
std::string AbsolutePath(const std::string& path);

// Where a file found in a dropped folder goes: `subfolder` (as QueuedFile
// keeps it) below the output directory; beside its input, or straight into
// the output directory, it needs none.
std::string OutputFolderFor(const std::string& outputDir, const std::string& subfolder);
// The same folder, made with the folders above it when it is a subfolder.
// An output directory the user chose is never made here. Leaves errno as it
// found it.
std::string MakeOutputSubfolder(const std::string& outputDir, const std::string& subfolder);

// The refusal of a file whose output another file of the same run or batch
// writes (or reads) already.
std::string OutputClashMessage(const std::string& outputPath);

// Asks hooks.ClaimOutput (when given) for the output; a refusal is reported
// with OutputClashMessage and gives false.
bool ClaimOutputOrRefuse(const JobHooks& hooks, const ErrorReporter& errors, const std::string& outputPath);

// The input itself as the output (the same file, or the same name in its
// folder): reported as the job's refusal, with the failure of its set-up,
// and true. False when the two are different files.
bool RefuseOutputOverInput(const ErrorReporter& errors, const std::string& inputPath, const std::string& outputPath);

// An output that cannot be created: reported with the failure of the
// job's set-up.
void ReportOutputNotCreated(const ErrorReporter& errors, const std::string& inputPath, const std::string& outputPath);
