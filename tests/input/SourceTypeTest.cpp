#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "InputTestSupport.h"
#include "input/SourceType.h"
#include "support/MpegFixtures.h"

namespace {

using namespace input_test;

TEST(ClassifyPath, ExtensionsAreFoldedAndMustEndThePath) {
    const std::pair<const char*, SourceType> cases[] = {
        {"/m/a.MP3", kSourceMpegLayer3}, {"/m/a.WaV", kSourceWav},      {"/m/b.c.flac", kSourceFlac},
        {"/m/a.aiff", kSourceAiff},      {"/m/a.mp3 ", kSourceUnknown}, {"/m.d/noext", kSourceUnknown},
        {"/m/a.", kSourceUnknown},       {"/m/a.wav.txt", kSourceUnknown}, {"", kSourceUnknown},
        {"/m/a.AIFC", kSourceAiff},      {"/m/a.oga", kSourceOgg},      {"/m/a.mpga", kSourceMpegLayer3},
    };
    for (const auto& [path, type] : cases) EXPECT_TRUE(ClassifyPath(path) == type) << path;
    EXPECT_TRUE(IsEncodeSource(kSourceAiff) && IsEncodeSource(ClassifyPath("a.Opus")));
    EXPECT_TRUE(IsDecodeSource(kSourceMpegLayer1));
    EXPECT_FALSE(IsEncodeSource(kSourceMpegLayer3) || IsDecodeSource(kSourceUnknown));
}

// Each name the desktop offers is read by the format its bytes hold: an Ogg file by its first packet,
// whatever its name says of Vorbis or Opus. The table's rows in other orders choose the same readers.
TEST(ClassifyPath, EachSpellingIsReadByTheFormatItsBytesHold) {
    fixtures::TempDir dir;
    const Bytes vorbis = Coded(dir, SineWav(2, 4410), kOggTool), opus = Coded(dir, SineWav(2, 4800, 48000), kOpusTool);
    mpeg_fixtures::WriteClickWav(dir / "c.wav", 2, 44100, 44100, 10);
    const struct { const char* name; Bytes file; FormatId id; } rows[] = {
        {"a.aiff", Form("AIFF", {Common(2, 2, 16), Sound(Packed({1, 2, 3, 4}, 2, true))}), FormatId::Aiff},
        {"a.AIFC", Form("AIFC", {Common(2, 2, 16, "sowt"), Sound(Packed({1, 2, 3, 4}, 2))}), FormatId::Aiff},
        {"a.oga", vorbis, FormatId::OggVorbis}, {"b.oga", opus, FormatId::Opus}, {"a.ogg", opus, FormatId::Opus},
        {"a.opus", vorbis, FormatId::OggVorbis}, {"b.aif", SineWav(1, 100), FormatId::Wav},
        {"a.mpga", fixtures::ReadFile(mpeg_fixtures::Lame(dir / "c.wav", dir / "c.mp3", "-b 128")), FormatId::Mpeg},
    };
    std::vector<InputFormat> reversed(InputFormats().rbegin(), InputFormats().rend()), shuffled = reversed;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(30));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AudioSource source;
        ASSERT_TRUE(OpenBytes(dir, row.file, source, ClassifyPath(row.name), row.name));
        EXPECT_EQ(source.Format->Id, row.id);
        EXPECT_GT(ReadAll(source).size(), 0u);
        EXPECT_FALSE(source.Damaged());
        for (std::span<const InputFormat> table : {std::span<const InputFormat>(shuffled), std::span<const InputFormat>(reversed)}) {
            EXPECT_EQ(OpenInput((dir / row.name).string(), ClassifyPath(row.name), {}, table).Format->Id, row.id);
        }
    }
}

}  // namespace
