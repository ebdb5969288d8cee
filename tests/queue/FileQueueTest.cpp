#include <gtest/gtest.h>

#include "queue/FileQueue.h"

TEST(ClassifyPath, ExtensionsAreFoldedAndMustEndThePath) {
    const std::pair<const char*, SourceType> cases[] = {
        {"/m/a.MP3", kSourceMpegLayer3}, {"/m/a.WaV", kSourceWav},     {"/m/b.c.flac", kSourceFlac},
        {"/m/a.aiff", kSourceUnknown},   {"/m/a.mp3 ", kSourceUnknown}, {"/m.d/noext", kSourceUnknown},
        {"/m/a.", kSourceUnknown},       {"/m/a.wav.txt", kSourceUnknown}, {"", kSourceUnknown},
    };
    for (const auto& [path, type] : cases) EXPECT_EQ(ClassifyPath(path), type) << path;
    EXPECT_TRUE(IsEncodeSource(kSourceAiff) && IsDecodeSource(kSourceMpegLayer1));
    EXPECT_FALSE(IsEncodeSource(kSourceMpegLayer3) || IsDecodeSource(kSourceUnknown));
}

TEST(FileQueue, PushSetsCountersAndTheLastDropDecidesTheMode) {
    FileQueue queue;
    PushPath(queue, "/m/a.wav", QueueMode::Encode);
    EXPECT_EQ(queue.EncodePending, 1);
    EXPECT_EQ(queue.DecodePending, 0);
    PushPath(queue, "/m/b.mp3", QueueMode::Decode);
    EXPECT_EQ(queue.EncodePending, 0);
    EXPECT_EQ(queue.DecodePending, 1);
    PushPath(queue, "", QueueMode::Encode);  // a missing path does nothing
    EXPECT_EQ(queue.DecodePending, 1);
    EXPECT_EQ(queue.Total, 2);
    EXPECT_EQ(queue.Remaining, 2);
    EXPECT_EQ(PopPath(queue)->Path, "/m/a.wav");
    EXPECT_EQ(PopPath(queue)->Path, "/m/b.mp3");
    EXPECT_EQ(PopPath(queue), std::nullopt);
    FinishPath(queue);
    FinishPath(queue);
    FinishPath(queue);
    EXPECT_EQ(queue.Remaining, 0);
}

TEST(FileQueue, ProgressIsAFractionAndZeroForNoTotal) {
    FileQueue queue;
    ReportProgress(queue, 0, 5);
    EXPECT_EQ(queue.FileFraction, 0.0);
    ReportProgress(queue, -1, 5);
    EXPECT_EQ(queue.FileFraction, 0.0);
    ReportProgress(queue, 4, 1);
    EXPECT_EQ(queue.FileFraction, 0.25);
    // Counts beyond 32 bits, as a long recording has.
    ReportProgress(queue, int64_t{1} << 40, int64_t{1} << 39);
    EXPECT_EQ(queue.FileFraction, 0.5);
}
