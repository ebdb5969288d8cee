#include "queue/ConversionJobs.h"

#include "decode/DecodeJob.h"
#include "encode/EncodeJob.h"

JobResult EncodeFileWithCurrentOptions(const std::string& inputPath, const std::string& outputDir,
                                       const JobHooks& hooks) {
    return EncodeFile(inputPath, TakeEncodeOptionsForJob(), outputDir, hooks);
}

WorkerJobs ConversionJobs() {
    WorkerJobs jobs;
    jobs.Encode = EncodeFileWithCurrentOptions;
    jobs.Decode = RunDecodeJob;
    return jobs;
}
