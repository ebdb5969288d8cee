#include "queue/BatchEngine.h"

#include <algorithm>
#include <system_error>

#include "job/OutputNaming.h"

BatchEngine::BatchEngine(EngineOptions options)
    : options_(std::move(options)), settings_(std::make_shared<const Settings>()) {
    const std::size_t count =
        options_.Workers != 0 ? options_.Workers : std::max(1u, std::thread::hardware_concurrency());
    for (std::size_t worker = 0; worker < count; ++worker) slots_.push_back(std::make_unique<Slot>());
    try {
        for (std::size_t worker = 0; worker < count; ++worker) {
            workers_.emplace_back([this, worker] { WorkerMain(worker); });
        }
    } catch (const std::system_error&) {
        // Fewer workers than asked for still convert everything.
        if (workers_.empty()) ReportError(ErrorReporter{{}, options_.Report}, "Failed to create encoding thread!\n");
    }
}

BatchEngine::~BatchEngine() {
    Stop();
}

void BatchEngine::SetSettings(SettingsSnapshot settings) {
    std::lock_guard<std::mutex> hold(lock_);
    settings_ = std::move(settings);
}

void BatchEngine::Push(const std::vector<QueuedFile>& files) {
    if (files.empty()) return;
    // Looked up before the lock: a folder of a thousand files must not hold
    // up the workers.
    std::vector<FileKey> keys;
    keys.reserve(files.size());
    for (const QueuedFile& file : files) keys.push_back(KeyOfFile(file.Path, claims_.FoldsCase));
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (stopping_) return;
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (!AddBatchInput(claims_, keys[i])) continue;
            queue_.push_back(files[i]);
            ++total_;
        }
    }
    workAvailable_.notify_all();
}

BatchProgress BatchEngine::Progress() const {
    std::lock_guard<std::mutex> hold(lock_);
    BatchProgress progress;
    progress.Total = total_;
    progress.Finished = finished_;
    // Without workers the queue never empties; nothing is under way either.
    progress.Busy = running_ > 0 || (!queue_.empty() && !workers_.empty());
    const Slot* first = nullptr;
    for (const std::unique_ptr<Slot>& slot : slots_) {
        if (!slot->Active) continue;
        progress.UnderWay += slot->Fraction.load();
        if (!first || slot->Order < first->Order) first = slot.get();
    }
    if (first) {
        progress.FirstFraction = first->Fraction.load();
        progress.FirstOutput = first->Output;
    }
    return progress;
}

bool BatchEngine::IdleLocked() const {
    // Without workers nothing queued ever runs; waiting for it would hang.
    return (queue_.empty() && running_ == 0) || workers_.empty();
}

void BatchEngine::WaitUntilIdle() {
    std::unique_lock<std::mutex> hold(lock_);
    idle_.wait(hold, [this] { return IdleLocked(); });
}

bool BatchEngine::WaitUntilIdleFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> hold(lock_);
    return idle_.wait_for(hold, timeout, [this] { return IdleLocked(); });
}

void BatchEngine::RequestStop() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
        queue_.clear();
        stopFiles_ = 1;
    }
    workAvailable_.notify_all();
    idle_.notify_all();
}

bool BatchEngine::WaitForStopFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> hold(lock_);
    return idle_.wait_for(hold, timeout, [this] { return running_ == 0; });
}

void BatchEngine::Stop() {
    RequestStop();
    for (std::thread& worker : workers_) {
        if (worker.joinable()) worker.join();
    }
    idle_.notify_all();
}

JobHooks BatchEngine::HooksFor(std::size_t worker, const std::string& input, const std::string& expectedOutput,
                               bool granted) {
    Slot& slot = *slots_[worker];
    JobHooks hooks;
    hooks.Report = options_.Report;
    hooks.Stop = &stopFiles_;
    hooks.Progress = [this, worker, &slot](int64_t total, int64_t done) {
        slot.Fraction = total <= 0 ? 0.0 : static_cast<double>(done) / static_cast<double>(total);
        if (options_.FileProgress) options_.FileProgress(worker, total, done);
    };
    hooks.OutputNamed = [this, &slot](const std::string& output) {
        std::lock_guard<std::mutex> hold(lock_);
        slot.Output = output;
    };
    hooks.ClaimOutput = [this, input, expectedOutput, granted](const std::string& output) {
        if (output == expectedOutput) return granted;
        // Only a guard: the jobs name their output as the claim at the pop did.
        std::lock_guard<std::mutex> hold(lock_);
        return ClaimOutput(claims_, input, output);
    };
    return hooks;
}

void BatchEngine::RunFile(std::size_t worker, const FileStart& started) {
    const QueuedFile& file = started.File;
    if (options_.FileStarted) options_.FileStarted(worker, file.Path);
    const FileJob& job = file.Mode == QueueMode::Decode ? options_.Jobs.Decode : options_.Jobs.Encode;
    // A file from a dropped folder keeps its place below the output
    // directory, so two albums with the same track names never meet.
    const std::string outputDir = MakeOutputSubfolder(JobOutputDir(*started.Snapshot), file.OutputSubfolder);
    const JobResult result =
        job ? job(file.Path, *started.Snapshot, outputDir,
                  HooksFor(worker, file.Path, started.ExpectedOutput, started.Granted))
            : JobResult::Failed;
    if (options_.FileFinished) options_.FileFinished(worker, file.Path, result);

    BatchSummary ended;
    bool batchEnded = false;
    bool idle = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        slots_[worker]->Active = false;
        --running_;
        ++finished_;
        if (result == JobResult::Failed) ++failed_;
        if (queue_.empty() && running_ == 0) {
            ended = BatchSummary{total_, failed_};
            batchEnded = batchRunning_ && !stopping_;
            batchRunning_ = false;
            total_ = finished_ = failed_ = 0;
            claims_.Inputs.clear();
            claims_.Outputs.clear();
            idle = true;
        }
    }
    // A stopped batch wakes its waiters too: the tool's wait must end with
    // the last stopped file, not at its next look.
    if (idle) idle_.notify_all();
    if (batchEnded && options_.BatchEnded) options_.BatchEnded(ended);
}

void BatchEngine::WorkerMain(std::size_t worker) {
    for (;;) {
        FileStart started;
        {
            std::unique_lock<std::mutex> hold(lock_);
            workAvailable_.wait(hold, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            batchRunning_ = true;
            started.File = std::move(queue_.front());
            queue_.pop_front();
            started.Snapshot = settings_;
            // Claimed in queue order, under the lock that pops: which file of
            // a clash is refused never depends on how the workers race.
            const std::string outputDir = OutputFolderFor(JobOutputDir(*settings_), started.File.OutputSubfolder);
            started.ExpectedOutput =
                BuildOutputPath(SplitInputPath(started.File.Path), outputDir,
                                started.File.Mode == QueueMode::Decode ? kWavExtension : kMp3Extension);
            started.Granted = ClaimOutput(claims_, started.File.Path, started.ExpectedOutput);
            ++running_;
            Slot& slot = *slots_[worker];
            slot.Active = true;
            slot.Order = nextOrder_++;
            slot.Output.clear();
            slot.Fraction = 0.0;
        }
        RunFile(worker, started);
    }
}
