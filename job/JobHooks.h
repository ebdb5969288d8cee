#pragma once
// What a conversion job of one file tells its caller, and how it is told to
// stop. Shared by the encode and decode jobs and the batch engine.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "settings/ErrorReport.h"

enum class JobResult { Done, Failed, Cancelled };

struct FileSystemCalls;

struct JobHooks {
    // Every error and warning of the file, with the file's input path.
    ErrorSink Report;
    // (total frames the source declares, frames handled so far)
    std::function<void(int64_t total, int64_t done)> Progress;
    // Called with the output path as soon as it is known.
    std::function<void(const std::string& outputPath)> OutputNamed;
    // Asked right after OutputNamed, before anything is opened: false means
    // the output clashes with another file of the batch (it writes or reads
    // that file), and the job must refuse this file (OutputClashMessage) and
    // leave both files alone.
    std::function<bool(const std::string& outputPath)> ClaimOutput;
    // Checked once per block; when it becomes nonzero the job stops, removes
    // its partial output and leaves the input alone.
    const std::atomic<int32_t>* Stop = nullptr;
    // How the output is made final and the input deleted; null: the system's calls.
    const FileSystemCalls* FileSystem = nullptr;
};
