// Whole batches through the worker and the real jobs.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <tuple>

#include "encode/Mp3Inspect.h"
#include "queue/ConversionJobs.h"
#include "settings/EncodeOptions.h"
#include "support/Fixtures.h"

namespace {

namespace fs = std::filesystem;

// Runs the queued paths through a real worker and waits (bounded) until it is idle.
void RunBatch(FileQueue& queue, const std::vector<fs::path>& paths, const std::string& outputSubfolder = {}) {
    std::thread worker = StartWorker(queue, ConversionJobs());
    for (const fs::path& path : paths) PushPath(queue, path.string(), QueueMode::Encode, outputSubfolder);
    for (int i = 0; i < 1200 && (queue.Total != 0 || queue.EncodePending != 0); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    queue.Quitting = 1;
    worker.join();
}

// Settings the jobs read, put back whatever the test does.
struct BatchSettings {
    BatchSettings(const fs::path& outputDir, int32_t deleteInput) {
        SetEncodeDeleteInput(deleteInput);
        SetActiveOutputDir(outputDir.empty() ? "" : outputDir.string() + "/");
    }
    ~BatchSettings() {
        SetActiveOutputDir("");
        SetEncodeDeleteInput(0);
    }
};

TEST(Batch, AFailingFileInTheMiddleLeavesTheOthersConverted) {
    fixtures::ErrorCapture errors;
    fixtures::TempDir dir;
    const fs::path first = fixtures::WriteSineWav(dir / "one.wav"), second = dir / "two.wav";
    const fs::path third = fixtures::WriteSineWav(dir / "three.wav");
    fixtures::WriteText(second, "this is not audio at all");
    fs::create_directories(dir / "out");
    FileQueue queue;
    {
        BatchSettings settings(dir / "out", 8);
        RunBatch(queue, {first, second, third});
        EXPECT_EQ(ActiveOutputDir(), (dir / "out").string());  // without its trailing slash
    }
    EXPECT_TRUE(mp3inspect::IsCompleteMp3(dir / "out" / "one.mp3"));
    EXPECT_TRUE(mp3inspect::IsCompleteMp3(dir / "out" / "three.mp3"));
    EXPECT_EQ(queue.CurrentOutput(), (dir / "out" / "three.mp3").string());
    // Only the converted inputs are deleted, and nothing is written beside them.
    EXPECT_EQ(std::make_tuple(fs::exists(first), fs::exists(second), fs::exists(third), fs::exists(dir / "one.mp3"),
                              fs::exists(dir / "out" / "two.mp3")),
              std::make_tuple(false, true, false, false, false));
    EXPECT_NE(errors.joined().find(second.string() + ": "), std::string::npos) << errors.joined();
}

// Two albums with the same track names into one output folder, and x.wav
// beside x.aif: the later file of each pair would replace the earlier one's
// MP3, after the earlier input was already deleted.
TEST(Batch, TheLaterOfTwoFilesWithOneOutputIsRefusedAndKept) {
    fixtures::ErrorCapture errors;
    fixtures::TempDir dir;
    const fs::path albumA = fixtures::WriteSineWav(dir / "A" / "01 Track.wav");
    const fs::path albumB = fixtures::WriteSineWav(dir / "B" / "01 Track.wav", 8820);
    const fs::path wav = fixtures::WriteSineWav(dir / "C" / "x.wav");
    const fs::path aif = dir / "C" / "x.aif";
    fs::copy_file(wav, aif);
    // What album A's track alone becomes.
    const fs::path reference = fixtures::WriteSineWav(dir / "ref" / "01 Track.wav");
    ASSERT_EQ(EncodeFileWithCurrentOptions(reference.string(), "", JobHooks{}), JobResult::Done);
    fs::create_directories(dir / "out");
    FileQueue queue;
    {
        BatchSettings settings(dir / "out", 8);
        RunBatch(queue, {albumA, albumB});
    }
    const fs::path mp3 = dir / "out" / "01 Track.mp3";
    EXPECT_FALSE(fs::exists(albumA));
    EXPECT_TRUE(fs::exists(albumB));
    EXPECT_EQ(fixtures::ReadFile(mp3), fixtures::ReadFile(dir / "ref" / "01 Track.mp3"));
    const std::string refusal = "Output file '" + mp3.string() + "' is also written or read by another file of this run; skipped\n";
    EXPECT_NE(errors.joined().find(albumB.string() + ": " + refusal), std::string::npos) << errors.joined();

    // Found in dropped folders, the same names keep apart below the output folder.
    FileQueue fromFolder, alone;
    {
        BatchSettings settings(dir / "out", 0);
        RunBatch(fromFolder, {albumB}, "Albums/B");
        RunBatch(alone, {wav});
    }
    EXPECT_TRUE(mp3inspect::IsCompleteMp3(dir / "out" / "Albums" / "B" / "01 Track.mp3"));
    EXPECT_TRUE(mp3inspect::IsCompleteMp3(dir / "out" / "x.mp3"));

    FileQueue besides;
    {
        BatchSettings settings("", 8);
        RunBatch(besides, {wav, aif});
    }
    EXPECT_FALSE(fs::exists(wav));
    EXPECT_TRUE(fs::exists(aif));
    EXPECT_TRUE(mp3inspect::IsCompleteMp3(dir / "C" / "x.mp3"));
}

}  // namespace
