#include "job/JobSkeleton.h"

#include <sys/stat.h>

#include <cerrno>

#include "job/OutputFile.h"
#include "job/OutputNaming.h"

namespace {

// A FIFO or a device would block the worker in its first read, where no
// stop reaches it.
bool RefuseIrregularInput(const ErrorReporter& errors, const std::string& inputPath) {
    struct stat info {};
    if (stat(inputPath.c_str(), &info) != 0 || S_ISREG(info.st_mode)) {
        errno = 0;  // a missing input is reported by its open, with its own reason
        return false;
    }
    errno = 0;
    ReportError(errors, "Input file '%s' is not a regular file\n", inputPath.c_str());
    return true;
}

bool DeleteInput(const ErrorReporter& errors, const std::string& inputPath, const FileSystemCalls& calls) {
    if (calls.Unlink(inputPath.c_str()) == 0) return true;
    ReportError(errors, "Error deleting input file '%s'\n", inputPath.c_str());
    return false;
}

}  // namespace

JobResult RunJobSkeleton(const std::string& inputPath, const std::string& outputDir, const JobHooks& hooks,
                         const ErrorReporter& errors, const JobPlan& plan) {
    const FileSystemCalls& calls = hooks.FileSystem ? *hooks.FileSystem : SystemFileCalls();
    const std::string outputPath = BuildOutputPath(SplitInputPath(inputPath), outputDir, plan.Extension);
    if (hooks.OutputNamed) hooks.OutputNamed(outputPath);
    if (!ClaimOutputOrRefuse(hooks, errors, outputPath)) return JobResult::Failed;
    if (RefuseOutputOverInput(errors, inputPath, outputPath)) return JobResult::Failed;
    if (RefuseIrregularInput(errors, inputPath)) return JobResult::Failed;

    if (!plan.OpenInput()) return JobResult::Failed;
    PendingOutput output(outputPath, calls);
    if (!output.Open()) {
        ReportOutputNotCreated(errors, inputPath, outputPath);
        return JobResult::Failed;
    }
    const JobResult converted = plan.Convert(output.Stream());
    // Short of Done, the output's destructor removes the new file.
    if (converted != JobResult::Done) return converted;
    errno = 0;
    if (!output.Commit(plan.DeleteInput)) {
        ReportError(errors, "%s", plan.WriteErrorMessage);
        return JobResult::Failed;
    }
    if (plan.DeleteInput && !DeleteInput(errors, inputPath, calls)) return JobResult::Failed;
    return JobResult::Done;
}
