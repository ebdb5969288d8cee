#pragma once
// What a conversion job of one file tells its caller, and how it is told to
// stop. Shared by the encode and decode jobs, the worker and the tool.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

enum class JobResult { Done, Failed, Cancelled };

struct JobHooks {
    // (total frames the source declares, frames handled so far)
    std::function<void(int64_t total, int64_t done)> Progress;
    // Called with the output path as soon as it is known.
    std::function<void(const std::string& outputPath)> OutputNamed;
    // Asked right after OutputNamed, before anything is opened: false means
    // another file of the batch writes that output already, and the job must
    // refuse this file (OutputClashMessage) and leave both files alone.
    std::function<bool(const std::string& outputPath)> ClaimOutput;
    // Checked once per block; when it becomes nonzero the job stops, removes
    // its partial output and leaves the input alone.
    const std::atomic<int32_t>* Stop = nullptr;
};
