#pragma once
// The queue of dropped paths, shared by the window (push, counters) and the
// worker thread (pop, jobs).

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "input/SourceType.h"

enum class QueueMode { Encode, Decode };

struct QueuedPath {
    std::string Path;
    // For a file found in a dropped folder: that folder's name and the
    // folders below it that lead to the file ("Albums/Disc 1"), kept below
    // an output directory. Empty for a file dropped by itself.
    std::string OutputSubfolder;
};

struct FileQueue {
    // Guards the list and the mode flags, and makes counter updates atomic
    // with the list changes they belong to. Never held during a job.
    std::mutex Lock;
    std::deque<QueuedPath> Paths;

    // Read by the window without the lock, so they are atomics.
    std::atomic<int32_t> Total{0};
    std::atomic<int32_t> Remaining{0};
    std::atomic<double> FileFraction{0.0};
    std::atomic<int32_t> Busy{0};
    std::atomic<int32_t> EncodePending{0};
    std::atomic<int32_t> DecodePending{0};
    std::atomic<int32_t> Quitting{0};

    // Output path of the current (or last) job; replaced whole so a reader
    // never sees half of it.
    std::string CurrentOutput() const;
    void SetCurrentOutput(const std::string& path);

private:
    std::atomic<std::shared_ptr<const std::string>> currentOutput_{std::make_shared<const std::string>()};
};

// Appends a path and sets the queue's mode, in one locked step.
void PushPath(FileQueue& queue, const std::string& path, QueueMode mode, const std::string& outputSubfolder = {});
// The oldest path, or nothing when the queue is empty.
std::optional<QueuedPath> PopPath(FileQueue& queue);
// A finished file, whatever its outcome.
void FinishPath(FileQueue& queue);
// Stores done / total into FileFraction (0.0 for a total of 0 or less).
void ReportProgress(FileQueue& queue, int64_t total, int64_t done);
