#pragma once
// The worker thread: polls the queue every 500 ms and runs the per-file job
// of the batch's mode over every queued path until the queue is empty.

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "job/JobHooks.h"
#include "queue/FileQueue.h"

inline constexpr std::chrono::milliseconds kWorkerPollInterval{500};

// Converts one file into `outputDir` (empty: beside the input), reporting
// its own failures.
using FileJob = std::function<JobResult(const std::string& inputPath, const std::string& outputDir,
                                        const JobHooks& hooks)>;

struct WorkerJobs {
    FileJob Encode;
    FileJob Decode;
};

// The worker's loop; returns once Quitting is seen at an idle point.
void WorkerMain(FileQueue& queue, const WorkerJobs& jobs);

// Starts WorkerMain on its own thread. Reports "Failed to create encoding
// thread!" and returns an empty thread when that is impossible.
std::thread StartWorker(FileQueue& queue, WorkerJobs jobs);
