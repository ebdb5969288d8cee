#pragma once
// The batch engine of both programs: a queue of files, several workers that
// convert them at once, each file in the direction its own type asks for,
// the claims rule, and the progress of every file under way. The window and
// the command-line tool each own one.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "job/JobHooks.h"
#include "queue/BatchClaims.h"
#include "settings/ErrorReport.h"
#include "settings/Settings.h"

enum class QueueMode { Encode, Decode };

struct QueuedFile {
    std::string Path;
    // For a file found in a dropped folder: that folder's name and the
    // folders below it that lead to the file ("Albums/Disc 1"), kept below
    // an output directory. Empty for a file dropped by itself.
    std::string OutputSubfolder;
    QueueMode Mode = QueueMode::Encode;  // what the file's own type asks for
};

// Converts one file into `outputDir` (empty: beside the input) with the
// settings it started with, reporting its own failures through its hooks.
using FileJob = std::function<JobResult(const std::string& inputPath, const Settings& settings,
                                        const std::string& outputDir, const JobHooks& hooks)>;

struct BatchJobs {
    FileJob Encode;
    FileJob Decode;
};

struct BatchSummary {
    int32_t Files = 0;
    int32_t Failed = 0;
};

struct EngineOptions {
    BatchJobs Jobs;
    std::size_t Workers = 0;  // 0: one per processor core
    // Every message of every file; called on the worker that raised it,
    // which waits until the call returns.
    ErrorSink Report;
    // Called on a worker as a file starts and ends, and after the last file
    // of a batch; all optional.
    std::function<void(std::size_t worker, const std::string& input)> FileStarted;
    std::function<void(std::size_t worker, int64_t total, int64_t done)> FileProgress;
    std::function<void(std::size_t worker, const std::string& input, JobResult result)> FileFinished;
    std::function<void(const BatchSummary& summary)> BatchEnded;
};

// What the window draws: read at any moment from the main thread.
struct BatchProgress {
    int32_t Total = 0;      // files queued since the engine was last idle
    int32_t Finished = 0;   // of those, the files done, failed or refused
    double UnderWay = 0.0;  // the sum of the fractions of the files under way
    bool Busy = false;      // a file runs or waits
    // The file under way that started first.
    double FirstFraction = 0.0;
    std::string FirstOutput;
};

class BatchEngine {
public:
    // Starts the workers. When no worker can be started, Started() is false
    // and queued files are never converted.
    explicit BatchEngine(EngineOptions options);
    // Stops, as Stop() does.
    ~BatchEngine();
    BatchEngine(const BatchEngine&) = delete;
    BatchEngine& operator=(const BatchEngine&) = delete;

    bool Started() const { return !workers_.empty(); }

    // The settings of every file that starts from now on.
    void SetSettings(SettingsSnapshot settings);

    // Queues the files in one step, so that the claims rule sees all of them
    // before any starts, and wakes the workers. A file the batch has already
    // (by another path) is left out. After a stop, nothing is queued.
    void Push(const std::vector<QueuedFile>& files);

    BatchProgress Progress() const;

    // Returns once the queue is empty and no file runs.
    void WaitUntilIdle();
    // The same, giving up after `timeout`; true when idle.
    bool WaitUntilIdleFor(std::chrono::milliseconds timeout);

    // Tells every file under way to stop at its next block (each removes
    // its partial output), drops the files still queued, and lets no file
    // start from now on; returns at once. Safe to call from any thread.
    void RequestStop();
    // After RequestStop: true once no file runs, false when `timeout` passed
    // first (a worker may be held in a read the stop cannot reach).
    bool WaitForStopFor(std::chrono::milliseconds timeout);
    // RequestStop, then waits for the workers to end. Safe to call again.
    void Stop();

private:
    struct Slot {
        bool Active = false;
        uint64_t Order = 0;
        std::string Output;
        std::atomic<double> Fraction{0.0};
    };

    bool IdleLocked() const;
    void WorkerMain(std::size_t worker);
    struct FileStart {
        QueuedFile File;
        SettingsSnapshot Snapshot;
        std::string ExpectedOutput;
        bool Granted = false;
    };
    void RunFile(std::size_t worker, const FileStart& started);
    JobHooks HooksFor(std::size_t worker, const std::string& input, const std::string& expectedOutput,
                      bool granted);

    EngineOptions options_;
    SettingsSnapshot settings_;

    mutable std::mutex lock_;
    std::condition_variable workAvailable_;
    std::condition_variable idle_;
    std::deque<QueuedFile> queue_;
    BatchClaims claims_;
    bool batchRunning_ = false;
    int32_t total_ = 0;
    int32_t finished_ = 0;
    int32_t failed_ = 0;
    std::size_t running_ = 0;
    uint64_t nextOrder_ = 0;
    bool stopping_ = false;
    std::atomic<int32_t> stopFiles_{0};
    std::vector<std::unique_ptr<Slot>> slots_;
    std::vector<std::thread> workers_;
};
