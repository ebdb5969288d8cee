#pragma once
// One MPEG audio file to one 16-bit WAV file.

#include <string>

#include "job/JobHooks.h"

// Decodes `inputPath` into `outputDir` (as TakeActiveOutputDirForJob gives
// it; empty: beside the input). Sets this thread's error context to the
// input path and reports every failure itself. Safe to run on several
// threads at once.
JobResult RunDecodeJob(const std::string& inputPath, const std::string& outputDir, const JobHooks& hooks);
