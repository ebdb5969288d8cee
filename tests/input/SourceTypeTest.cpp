#include <gtest/gtest.h>

#include "input/SourceType.h"

TEST(ClassifyPath, ExtensionsAreFoldedAndMustEndThePath) {
    const std::pair<const char*, SourceType> cases[] = {
        {"/m/a.MP3", kSourceMpegLayer3}, {"/m/a.WaV", kSourceWav},     {"/m/b.c.flac", kSourceFlac},
        {"/m/a.aiff", kSourceUnknown},   {"/m/a.mp3 ", kSourceUnknown}, {"/m.d/noext", kSourceUnknown},
        {"/m/a.", kSourceUnknown},       {"/m/a.wav.txt", kSourceUnknown}, {"", kSourceUnknown},
    };
    for (const auto& [path, type] : cases) EXPECT_EQ(ClassifyPath(path), type) << path;
    EXPECT_TRUE(IsEncodeSource(kSourceAiff) && IsEncodeSource(ClassifyPath("a.Opus")));
    EXPECT_TRUE(IsDecodeSource(kSourceMpegLayer1));
    EXPECT_FALSE(IsEncodeSource(kSourceMpegLayer3) || IsDecodeSource(kSourceUnknown));
}
