#include "app/ConversionJobs.h"

#include "encode/EncodeJob.h"
#include "settings/EncodeOptions.h"
#include "settings/ErrorReport.h"

JobResult DecodeFileJob(const std::string& inputPath, const std::string& /*outputDir*/, const JobHooks& /*hooks*/) {
    SetErrorContext(inputPath);
    ReportError("Decoding MPEG audio is not available yet: '%s'\n", inputPath.c_str());
    return JobResult::Failed;
}

WorkerJobs ConversionJobs() {
    WorkerJobs jobs;
    jobs.EncodeBatch = RunEncodeJob;
    jobs.DecodeFile = [](FileQueue& queue, const std::string& path) {
        JobHooks hooks;
        hooks.Progress = [&queue](int64_t total, int64_t done) { ReportProgress(queue, total, done); };
        hooks.OutputNamed = [&queue](const std::string& outputPath) { queue.SetCurrentOutput(outputPath); };
        hooks.Stop = &queue.Quitting;
        DecodeFileJob(path, TakeActiveOutputDirForJob(), hooks);
    };
    return jobs;
}
