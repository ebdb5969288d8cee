#include "job/OutputNaming.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "job/FileIdentity.h"
#include "settings/ErrorReport.h"

namespace {

constexpr char kSeparator = '/';
// Stands for a folder name when the start of the path is reached first.
constexpr char kNoFolderName = ' ';

// Looks for the '/' that leads the name ending just before `end` (the index
// of that name's trailing '/'). Returns npos when the start of the path is
// reached first.
std::size_t LeadingSeparator(const std::string& path, std::size_t end) {
    if (end == 0) return std::string::npos;
    std::size_t found = path.rfind(kSeparator, end - 1);
    return found;
}

// The root keeps its one '/': "//x.mp3" is another name on some systems.
std::string WithinFolder(const std::string& folder, const std::string& name) {
    return folder.back() == kSeparator ? folder + name : folder + kSeparator + name;
}

}  // namespace

InputPathParts SplitInputPath(const std::string& inputPath) {
    InputPathParts parts;
    std::size_t last = inputPath.rfind(kSeparator);
    if (last == std::string::npos) {
        parts.FileName = inputPath;
        parts.ParentName.assign(1, kNoFolderName);
    } else {
        parts.Directory = inputPath.substr(0, last + 1);
        parts.FileName = inputPath.substr(last + 1);
        std::size_t parentStart = LeadingSeparator(inputPath, last);
        if (parentStart == std::string::npos) {
            parts.ParentName.assign(1, kNoFolderName);
        } else {
            parts.ParentName = inputPath.substr(parentStart + 1, last - parentStart - 1);
            std::size_t grandStart = LeadingSeparator(inputPath, parentStart);
            if (grandStart == std::string::npos) {
                parts.GrandParentName.assign(1, kNoFolderName);
            } else {
                parts.GrandParentName = inputPath.substr(grandStart + 1, parentStart - grandStart - 1);
            }
        }
    }
    std::size_t dot = parts.FileName.rfind('.');
    parts.BaseName = dot == std::string::npos ? parts.FileName : parts.FileName.substr(0, dot);
    return parts;
}

std::string BuildOutputPath(const InputPathParts& parts, const std::string& outputDir, const std::string& extension) {
    if (outputDir.empty()) return parts.Directory + parts.BaseName + extension;
    return WithinFolder(outputDir, parts.BaseName + extension);
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) return path;
    ErrnoKeeper keepErrno;
    const FolderAndName parts = SplitFolderAndName(path);
    const bool resolveAll = parts.Name.empty() || parts.Name == "." || parts.Name == "..";
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath((resolveAll ? path : parts.Folder).c_str(), nullptr),
                                                         &std::free);
    if (!resolved) {
        if (path.front() == kSeparator) return path;
        std::error_code error;
        const std::string here = std::filesystem::current_path(error).string();
        return error ? path : here + kSeparator + path;
    }
    std::string absolute = resolved.get();
    if (resolveAll) return absolute;
    if (absolute.back() != kSeparator) absolute += kSeparator;
    return absolute + parts.Name;
}

std::string OutputFolderFor(const std::string& outputDir, const std::string& subfolder) {
    if (outputDir.empty() || subfolder.empty()) return outputDir;
    return WithinFolder(outputDir, subfolder);
}

std::string MakeOutputSubfolder(const std::string& outputDir, const std::string& subfolder) {
    const std::string folder = OutputFolderFor(outputDir, subfolder);
    if (folder == outputDir) return folder;
    ErrnoKeeper keepErrno;
    std::error_code error;  // a folder that cannot be made shows when the job opens its output
    std::filesystem::create_directories(folder, error);
    return folder;
}

std::string OutputClashMessage(const std::string& outputPath) {
    return "Output file '" + outputPath + "' is also written or read by another file of this run; skipped\n";
}

bool ClaimOutputOrRefuse(const JobHooks& hooks, const ErrorReporter& errors, const std::string& outputPath) {
    if (!hooks.ClaimOutput || hooks.ClaimOutput(outputPath)) return true;
    ReportError(errors, "%s", OutputClashMessage(outputPath).c_str());
    return false;
}

namespace {

void ReportInitFailure(const ErrorReporter& errors, const std::string& inputPath, const std::string& outputPath) {
    ReportError(errors, "Error initializing input and output files %s/%s", inputPath.c_str(), outputPath.c_str());
}

}  // namespace

bool RefuseOutputOverInput(const ErrorReporter& errors, const std::string& inputPath, const std::string& outputPath) {
    if (!SameFile(KeyOfFile(inputPath), KeyOfFile(outputPath))) return false;
    ReportError(errors, "Input file and Output file are the same. Abort.\n");
    ReportInitFailure(errors, inputPath, outputPath);
    return true;
}

void ReportOutputNotCreated(const ErrorReporter& errors, const std::string& inputPath,
                            const std::string& outputPath) {
    ReportError(errors, "Can't init outfile '%s'\n", outputPath.c_str());
    ReportInitFailure(errors, inputPath, outputPath);
}
