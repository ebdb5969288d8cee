#pragma once
// One input file to one MP3 file.

#include <string>

#include "job/JobHooks.h"
#include "settings/EncodeOptions.h"

// The options one file is encoded with: a snapshot of EncodeOptions. With
// scaling on, TagMode becomes 2 here and in EncodeOptions itself, so the
// readers hand over the gain comments.
EncodeOptions TakeEncodeOptionsForJob();

// Encodes `inputPath` with `options` (as TakeEncodeOptionsForJob gives them)
// into `outputDir` (as TakeActiveOutputDirForJob gives it; empty: beside the
// input). Sets this thread's error context to the input path and reports
// every failure itself. The input is deleted (with DeleteInput on) only when
// every step succeeded. Safe to run on several threads at once.
JobResult EncodeFile(const std::string& inputPath, const EncodeOptions& options, const std::string& outputDir,
                     const JobHooks& hooks);
