#include <gtest/gtest.h>

#include "queue/FileQueue.h"

TEST(ClassifyPath, ExtensionsAreFoldedAndMustEndThePath) {
    struct Case {
        const char* path;
        SourceType type;
    };
    const Case cases[] = {
        {"/m/a.mpg", kSourceMpegLayer1}, {"/m/a.mp1", kSourceMpegLayer1}, {"/m/a.mp2", kSourceMpegLayer2},
        {"/m/a.mp3", kSourceMpegLayer3}, {"/m/a.MP3", kSourceMpegLayer3}, {"/m/a.wav", kSourceWav},
        {"/m/a.WaV", kSourceWav},        {"/m/a.aif", kSourceAiff},       {"/m/a.AIF", kSourceAiff},
        {"/m/a.ogg", kSourceOgg},        {"/m/a.flac", kSourceFlac},      {"/m/a.FLAC", kSourceFlac},
        {"/m/a.aiff", kSourceUnknown},   {"/m/a.flac2", kSourceUnknown},  {"/m/a.mp3 ", kSourceUnknown},
        {"/m/noext", kSourceUnknown},    {"/m.d/noext", kSourceUnknown},  {"/m/a.", kSourceUnknown},
        {"/m/a.wav.txt", kSourceUnknown}, {"/m/b.c.flac", kSourceFlac},   {"", kSourceUnknown},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyPath(c.path), c.type) << c.path;
    EXPECT_TRUE(IsEncodeSource(kSourceAiff));
    EXPECT_FALSE(IsEncodeSource(kSourceMpegLayer3));
    EXPECT_TRUE(IsDecodeSource(kSourceMpegLayer1));
    EXPECT_FALSE(IsDecodeSource(kSourceUnknown));
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
