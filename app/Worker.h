#pragma once
// The worker thread: polls the queue every 500 ms and runs one kind of job
// over every queued path until the queue is empty.

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "app/FileQueue.h"

inline constexpr std::chrono::milliseconds kWorkerPollInterval{500};

struct WorkerJobs {
    // Pops paths with PopPath until the queue is empty, keeping Busy,
    // Remaining, CurrentOutput and FileFraction up to date itself.
    std::function<void(FileQueue&)> EncodeBatch;
    // Converts one path; the worker counts it as finished afterwards.
    std::function<void(FileQueue&, const std::string&)> DecodeFile;
};

// The worker's loop; returns once Quitting is seen at an idle point.
void WorkerMain(FileQueue& queue, const WorkerJobs& jobs);

// Starts WorkerMain on its own thread. Reports "Failed to create encoding
// thread!" and returns an empty thread when that is impossible.
std::thread StartWorker(FileQueue& queue, WorkerJobs jobs);
