// The batch engine of both programs: its claims rule, each file in its own direction, the
// settings each file starts with, and a stop with several files under way.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <future>
#include <mutex>
#include <tuple>

#include "encode/EncodeJob.h"
#include "encode/Mp3Inspect.h"
#include "queue/BatchClaims.h"
#include "queue/ConversionJobs.h"
#include "support/Fixtures.h"

namespace {

namespace fs = std::filesystem;

QueuedFile Queued(const fs::path& path, QueueMode mode = QueueMode::Encode) {
    return {path.string(), {}, mode};
}

}  // namespace

TEST(BatchClaims, NoFileWritesWhatAnotherFileOfTheBatchReadsOrWrites) {
    fixtures::TempDir dir;
    const fs::path wav = fixtures::WriteSineWav(dir / "01.wav", 10);
    const fs::path mp3 = fixtures::WriteSineWav(dir / "01.mp3", 10);
    fs::create_directories(dir / "sub");
    ASSERT_EQ(link(wav.c_str(), (dir / "linked.wav").c_str()), 0);
    // The kernel's "linked/../x" is "elsewhere/x", whatever the text says.
    fs::create_directories(dir / "elsewhere" / "deep");
    fs::create_symlink(dir / "elsewhere" / "deep", dir / "linked");
    const std::string other = (dir / "other.wav").string(), other2 = (dir / "other2.wav").string();
    const struct {
        const char* what;
        std::vector<std::string> inputs;          // the batch's inputs
        std::vector<std::pair<std::string, std::string>> granted;  // (input, output) claimed before
        std::string input, output;
        bool allowed;
        bool foldsCase = false;
    } cases[] = {
        {"an output of its own", {wav.string()}, {}, wav.string(), (dir / "01.mp3x").string(), true},
        {"the same output twice", {}, {{other, (dir / "x.mp3").string()}}, wav.string(), (dir / "x.mp3").string(), false},
        {"an output over a queued or finished input", {wav.string(), mp3.string()}, {}, mp3.string(), wav.string(), false},
        {"an input that is a claimed output", {}, {{mp3.string(), wav.string()}}, wav.string(), (dir / "01.mp3x").string(), false},
        {"another spelling of an input", {wav.string()}, {}, mp3.string(), (dir / "sub" / ".." / "01.wav").string(), false},
        {"a hard link to an input", {(dir / "linked.wav").string()}, {}, mp3.string(), wav.string(), false},
        {"the file's own input, left to the job", {wav.string()}, {}, wav.string(), wav.string(), true},
        {"a new output's two spellings through a linked folder", {}, {{other, (dir / "elsewhere" / "n.mp3").string()}},
         other2, (dir / "linked" / ".." / "n.mp3").string(), false},
        {"a text parent that is not the kernel's", {}, {{other, (dir / "n.mp3").string()}}, other2,
         (dir / "linked" / ".." / "n.mp3").string(), true},
        {"names that differ in case, where the folder ignores it", {}, {{other, (dir / "Track.mp3").string()}}, other2,
         (dir / "track.mp3").string(), false, true},
        {"names that differ in case, where the folder keeps it", {}, {{other, (dir / "Track.mp3").string()}}, other2,
         (dir / "track.mp3").string(), true},
    };
    for (const auto& c : cases) {
        BatchClaims claims;
        claims.FoldsCase = [&c](int) { return c.foldsCase; };
        for (const std::string& input : c.inputs) AddBatchInput(claims, KeyOfFile(input, claims.FoldsCase));
        for (const auto& [input, output] : c.granted) ASSERT_TRUE(ClaimOutput(claims, input, output)) << c.what;
        EXPECT_EQ(ClaimOutput(claims, c.input, c.output), c.allowed) << c.what;
    }
    // An input reached twice, by a link to its folder too, joins the batch once.
    BatchClaims claims;
    EXPECT_TRUE(AddBatchInput(claims, KeyOfFile(wav.string())));
    EXPECT_FALSE(AddBatchInput(claims, KeyOfFile((dir / "linked" / ".." / ".." / "01.wav").string())));
}

// Each file is converted in the direction its own type asks for, also when
// it joins a running batch. An Accept while a file converts reaches every
// file that starts after it, never the one under way, and no job writes back.
TEST(BatchEngine, FilesAndSettingsQueuedDuringABatchJoinItEachInItsOwnDirection) {
    struct Seen {
        std::string kind, input;
        const Settings* settings;
        bool operator==(const Seen&) const = default;
    };
    std::mutex lock;
    std::vector<Seen> seen;
    std::promise<void> firstStarted, release;
    std::shared_future<void> released = release.get_future().share();
    auto job = [&](const char* kind) {
        return [&, kind](const std::string& input, const Settings& settings, const std::string&, const JobHooks&) {
            {
                std::lock_guard<std::mutex> hold(lock);
                seen.push_back({kind, input, &settings});
            }
            if (input == "a.wav") firstStarted.set_value();
            released.wait();
            return input == "b.mp3" ? JobResult::Failed : JobResult::Done;
        };
    };
    std::promise<BatchSummary> ended;
    EngineOptions options;
    options.Workers = 1;
    options.Jobs = {job("encode"), job("decode")};
    options.BatchEnded = [&](const BatchSummary& summary) { ended.set_value(summary); };
    BatchEngine engine(std::move(options));
    Settings before;
    before.ScaleMode = ScaleModeChoice::TrackGain;
    const SettingsSnapshot first = std::make_shared<const Settings>(before),
                           second = std::make_shared<const Settings>();
    engine.SetSettings(first);
    engine.Push({Queued("a.wav"), Queued("b.mp3", QueueMode::Decode)});
    firstStarted.get_future().wait();
    engine.SetSettings(second);
    engine.Push({Queued("c.wav")});
    EXPECT_EQ(engine.Progress().Total, 3);
    release.set_value();
    engine.WaitUntilIdle();
    const std::vector<Seen> expected = {
        {"encode", "a.wav", first.get()}, {"decode", "b.mp3", second.get()}, {"encode", "c.wav", second.get()}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(*first, before);
    const BatchSummary summary = ended.get_future().get();
    EXPECT_EQ(std::tie(summary.Files, summary.Failed), std::make_tuple(3, 1));
    EXPECT_FALSE(engine.Progress().Busy);
    EXPECT_EQ(engine.Progress().Total, 0);
}

// Two workers against one file at a time: the same bytes; a failing file
// fails alone; two albums' "01 Track.wav" into one folder never meet, the
// later one refused and kept though inputs are deleted.
TEST(BatchEngine, SeveralWorkersWriteWhatOneAtATimeWrites) {
    fixtures::ErrorCapture errors;
    fixtures::TempDir dir;
    const fs::path albumA = fixtures::WriteSineWav(dir / "A" / "01 Track.wav", 44100);
    const fs::path albumB = fixtures::WriteSineWav(dir / "B" / "01 Track.wav", 8820);
    const fs::path bad = dir / "bad.wav", other = fixtures::WriteSineWav(dir / "other.wav", 30000, 0.3);
    fixtures::WriteText(bad, "this is not audio at all");
    Settings alone;
    fs::create_directories(dir / "ref");
    alone.OutputDir = (dir / "ref").string() + "/";
    for (const fs::path& input : {albumA, other}) {
        ASSERT_EQ(EncodeFile(input.string(), alone, JobOutputDir(alone), JobHooks{}), JobResult::Done);
    }

    Settings batch;
    fs::create_directories(dir / "out");
    batch.OutputDir = (dir / "out").string() + "/";
    batch.DeleteInput = MenuSwitch(true);
    EngineOptions options;
    options.Jobs = ConversionJobs();
    options.Workers = 2;
    options.Report = fixtures::CaptureSink();
    BatchEngine engine(std::move(options));
    engine.SetSettings(std::make_shared<const Settings>(batch));
    engine.Push({Queued(albumA), Queued(bad), Queued(albumB), Queued(other)});
    engine.WaitUntilIdle();

    EXPECT_EQ(fixtures::ReadFile(dir / "out" / "01 Track.mp3"), fixtures::ReadFile(dir / "ref" / "01 Track.mp3"));
    EXPECT_EQ(fixtures::ReadFile(dir / "out" / "other.mp3"), fixtures::ReadFile(dir / "ref" / "other.mp3"));
    EXPECT_EQ(std::make_tuple(fs::exists(albumA), fs::exists(bad), fs::exists(albumB), fs::exists(other)),
              std::make_tuple(false, true, true, false));
    EXPECT_NE(errors.joined().find(bad.string() + ": "), std::string::npos) << errors.joined();
    EXPECT_NE(errors.joined().find(albumB.string() + ": Output file '"), std::string::npos) << errors.joined();
}
