#include "decode/DecodeJob.h"

#include "settings/ErrorReport.h"

JobResult RunDecodeJob(const std::string& inputPath, const std::string& /*outputDir*/, const JobHooks& /*hooks*/) {
    SetErrorContext(inputPath);
    ReportError("Decoding MPEG audio is not available yet: '%s'\n", inputPath.c_str());
    return JobResult::Failed;
}
