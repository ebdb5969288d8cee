#pragma once
// The steps both jobs take around their own conversion, in the order they
// run: name and claim the output, refuse the input as its own output, open
// the input, create the output, convert, commit or abandon, delete the
// input.

#include <cstdio>
#include <functional>
#include <string>

#include "job/JobHooks.h"
#include "settings/ErrorReport.h"

struct JobPlan {
    const char* Extension = "";          // the output's, with its dot
    const char* WriteErrorMessage = "";  // reported when the converted file cannot be kept
    bool DeleteInput = false;            // after the output is safely on disk
    // Opens the input; false after reporting why.
    std::function<bool()> OpenInput;
    // Converts the open input into `output` (open for reading and writing at
    // its start) and closes the input. Only Done lets the output replace the
    // final name.
    std::function<JobResult(std::FILE* output)> Convert;
};

// Runs `plan` for `inputPath` into `outputDir` (empty: beside the input).
// Whatever happens short of Done, the final name keeps what it held and no
// new file stays behind. A failed deletion of the input fails the file.
JobResult RunJobSkeleton(const std::string& inputPath, const std::string& outputDir, const JobHooks& hooks,
                         const ErrorReporter& errors, const JobPlan& plan);
