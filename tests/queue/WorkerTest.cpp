#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "queue/Worker.h"

namespace {

struct Seen {
    std::string kind, path;
    int32_t total, remaining, busy;
};

// Jobs that record what they see, with the real jobs' bookkeeping.
struct Recorder {
    std::mutex lock;
    std::vector<Seen> seen;

    WorkerJobs Jobs(FileQueue& queue) {
        auto job = [this, &queue](const char* kind) {
            return [this, &queue, kind](const std::string& path, const std::string&, const JobHooks&) {
                std::lock_guard<std::mutex> hold(lock);
                seen.push_back({kind, path, queue.Total, queue.Remaining, queue.Busy});
                return JobResult::Done;
            };
        };
        return {job("encode"), job("decode")};
    }

    std::vector<Seen> Snapshot() {
        std::lock_guard<std::mutex> hold(lock);
        return seen;
    }
};

// Starts a worker, queues `paths`, waits (bounded) until `count` files were
// seen and the worker is idle again, then ends it; what the jobs saw.
std::vector<Seen> RunWorker(FileQueue& queue, Recorder& recorder, const WorkerJobs& jobs,
                            const std::vector<std::pair<std::string, QueueMode>>& paths, std::size_t count) {
    std::thread worker = StartWorker(queue, jobs);
    for (const auto& [path, mode] : paths) PushPath(queue, path, mode);
    for (int i = 0; i < 800; ++i) {
        if (recorder.Snapshot().size() >= count && queue.Total == 0 && queue.Busy == 0 && queue.EncodePending == 0 &&
            queue.DecodePending == 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    queue.Quitting = 1;
    worker.join();
    return recorder.Snapshot();
}

}  // namespace

TEST(Worker, ABatchOfThreeCountsDownAndResetsWhenIdle) {
    FileQueue queue;
    Recorder recorder;
    const std::vector<Seen> seen = RunWorker(queue, recorder, recorder.Jobs(queue),
                                             {{"/m/1.wav", QueueMode::Encode}, {"/m/2.wav", QueueMode::Encode},
                                              {"/m/3.wav", QueueMode::Encode}}, 3);
    ASSERT_EQ(seen.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(seen[i].kind, "encode");
        EXPECT_EQ(seen[i].path, "/m/" + std::to_string(i + 1) + ".wav");
        EXPECT_EQ(seen[i].total, 3);
        EXPECT_EQ(seen[i].remaining, 3 - i);
        EXPECT_EQ(seen[i].busy, 1);
    }
    EXPECT_EQ(queue.Remaining, 0);
    EXPECT_EQ(queue.FileFraction, 0.0);
}

TEST(Worker, TheLastAcceptedFileDecidesTheModeAndDecodeFilesAreCounted) {
    FileQueue queue;
    Recorder recorder;
    const std::vector<Seen> seen = RunWorker(queue, recorder, recorder.Jobs(queue),
                                             {{"/m/a.wav", QueueMode::Encode}, {"/m/b.mp3", QueueMode::Decode}}, 2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].kind + seen[1].kind, "decodedecode");
    EXPECT_EQ(seen[0].remaining, 2);
    EXPECT_EQ(seen[1].remaining, 1);
}

// The mode belongs to the batch: an MP3 dropped while WAV files encode is
// handed to the encode job, and the counters grow instead of restarting.
TEST(Worker, ADropDuringABatchJoinsIt) {
    FileQueue queue;
    Recorder recorder;
    WorkerJobs jobs = recorder.Jobs(queue);
    auto encodeOne = jobs.Encode;
    jobs.Encode = [&](const std::string& path, const std::string& dir, const JobHooks& hooks) {
        if (path == "/m/first.wav") PushPath(queue, "/m/late.mp3", QueueMode::Decode);
        return encodeOne(path, dir, hooks);
    };
    const std::vector<Seen> seen = RunWorker(queue, recorder, jobs, {{"/m/first.wav", QueueMode::Encode}}, 2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].kind, "encode");
    EXPECT_EQ(seen[1].path, "/m/late.mp3");
    EXPECT_EQ(seen[1].total, 2);
    EXPECT_EQ(seen[1].remaining, 1);
}

TEST(Worker, QuittingEndsTheWorker) {
    Recorder recorder;
    FileQueue alreadyQuitting;
    alreadyQuitting.Quitting = 1;
    PushPath(alreadyQuitting, "/m/a.wav", QueueMode::Encode);
    WorkerMain(alreadyQuitting, recorder.Jobs(alreadyQuitting));  // returns at once
    EXPECT_TRUE(recorder.Snapshot().empty());

    FileQueue queue;
    std::thread worker = StartWorker(queue, recorder.Jobs(queue));
    queue.Quitting = 1;
    worker.join();  // returns only if the worker ended
}
