#include "job/OutputNaming.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

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
    return outputDir + kSeparator + parts.BaseName + extension;
}

bool NamesSameFile(const std::string& first, const std::string& second) {
    if (first == second) return true;
    ErrnoKeeper keepErrno;
    std::error_code error;
    bool same = std::filesystem::exists(first, error) && std::filesystem::exists(second, error) &&
                std::filesystem::equivalent(first, second, error);
    return same && !error;
}

std::string AbsolutePath(const std::string& path) {
    ErrnoKeeper keepErrno;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

std::string ComparablePath(const std::string& path) {
    ErrnoKeeper keepErrno;
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? AbsolutePath(path) : resolved.string();
}

std::string OutputFolderFor(const std::string& outputDir, const std::string& subfolder) {
    if (outputDir.empty() || subfolder.empty()) return outputDir;
    return outputDir + kSeparator + subfolder;
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

FilePtr OpenOutputFile(const std::string& path) { return FilePtr(std::fopen(path.c_str(), "w+b")); }

void RemovePartialOutput(const std::string& path) {
    ErrnoKeeper keepErrno;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
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
    if (!NamesSameFile(inputPath, outputPath)) return false;
    ReportError(errors, "Input file and Output file are the same. Abort.\n");
    ReportInitFailure(errors, inputPath, outputPath);
    return true;
}

void ReportOutputNotCreated(const ErrorReporter& errors, const std::string& inputPath,
                            const std::string& outputPath) {
    ReportError(errors, "Can't init outfile '%s'\n", outputPath.c_str());
    ReportInitFailure(errors, inputPath, outputPath);
}
