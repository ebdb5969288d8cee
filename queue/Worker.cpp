#include "queue/Worker.h"

#include <set>
#include <system_error>

#include "job/OutputNaming.h"
#include "settings/EncodeOptions.h"

#include "settings/ErrorReport.h"

namespace {

// The poll sleeps in short slices so that an ending program does not wait
// a whole interval for the worker.
constexpr std::chrono::milliseconds kQuitCheckInterval{20};

void ResetWhenIdle(FileQueue& queue) {
    std::lock_guard<std::mutex> hold(queue.Lock);
    // A drop that landed after the last pop keeps its paths, counters and mode.
    if (!queue.Paths.empty()) return;
    queue.DecodePending = 0;
    queue.EncodePending = 0;
    queue.Busy = 0;
    queue.Total = 0;
    queue.Remaining = 0;
    queue.FileFraction = 0.0;
}

void SleepPollInterval(const FileQueue& queue) {
    auto slept = std::chrono::milliseconds::zero();
    while (slept < kWorkerPollInterval && queue.Quitting == 0) {
        std::this_thread::sleep_for(kQuitCheckInterval);
        slept += kQuitCheckInterval;
    }
}

// Pops paths until the queue is empty; paths dropped meanwhile join the
// batch. No two files of one batch may write the same output: the later one
// would silently replace the earlier one's result, and with input deletion
// on, that earlier input would already be gone.
void RunBatch(FileQueue& queue, const FileJob& job) {
    std::set<std::string> claimedOutputs;
    while (queue.Quitting == 0) {
        std::optional<QueuedPath> queued = PopPath(queue);
        if (!queued) return;
        queue.Busy = 1;
        JobHooks hooks;
        hooks.Progress = [&queue](int64_t total, int64_t done) { ReportProgress(queue, total, done); };
        hooks.OutputNamed = [&queue](const std::string& outputPath) { queue.SetCurrentOutput(outputPath); };
        hooks.ClaimOutput = [&claimedOutputs](const std::string& outputPath) {
            return claimedOutputs.insert(ComparablePath(outputPath)).second;
        };
        hooks.Stop = &queue.Quitting;
        // A file from a dropped folder keeps its place below the output
        // directory, so two albums with the same track names never meet.
        const std::string outputDir = MakeOutputSubfolder(TakeActiveOutputDirForJob(), queued->OutputSubfolder);
        if (job) job(queued->Path, outputDir, hooks);
        FinishPath(queue);
    }
}

}  // namespace

void WorkerMain(FileQueue& queue, const WorkerJobs& jobs) {
    while (queue.Quitting == 0) {
        if (queue.EncodePending == 1) {
            RunBatch(queue, jobs.Encode);
        } else if (queue.DecodePending == 1) {
            RunBatch(queue, jobs.Decode);
        }
        ResetWhenIdle(queue);
        SleepPollInterval(queue);
    }
}

std::thread StartWorker(FileQueue& queue, WorkerJobs jobs) {
    queue.Remaining = 0;
    queue.Total = 0;
    queue.FileFraction = 0.0;
    try {
        return std::thread([&queue, jobs = std::move(jobs)] { WorkerMain(queue, jobs); });
    } catch (const std::system_error&) {
        ReportError("Failed to create encoding thread!\n");
        return std::thread();
    }
}
