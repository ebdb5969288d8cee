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
// whatever its name says of Vorbis or Opus. The last row: the table's rows in another order change nothing.
TEST(ClassifyPath, EachSpellingIsReadByTheFormatItsBytesHold) {
    fixtures::TempDir dir;
    const Bytes aiff = Form("AIFF", {Common(2, 2, 16), Sound(Packed({1, 2, 3, 4}, 2, true))});
    const Bytes aifc = Form("AIFC", {Common(2, 2, 16, "sowt"), Sound(Packed({1, 2, 3, 4}, 2))});
    const Bytes vorbis = Coded(dir, SineWav(2, 4410), kOggTool), opus = Coded(dir, SineWav(2, 4800, 48000), kOpusTool);
    const Bytes flac = Coded(dir, SineWav(2, 4410), kFlacTool), wav = SineWav(1, 100);
    mpeg_fixtures::WriteClickWav(dir / "c.wav", 2, 44100, 44100, 10);
    const Bytes mp3 = fixtures::ReadFile(mpeg_fixtures::Lame(dir / "c.wav", dir / "c.mp3", "-b 128"));
    const std::pair<const char*, const Bytes*> files[] = {
        {"a.aiff", &aiff}, {"a.AIFC", &aifc}, {"a.oga", &vorbis}, {"b.oga", &opus},   {"a.mpga", &mp3},
        {"a.ogg", &opus},  {"b.ogg", &vorbis}, {"a.opus", &vorbis}, {"a.wav", &flac}, {"b.aif", &wav},
    };
    const FormatId expected[] = {FormatId::Aiff, FormatId::Aiff, FormatId::OggVorbis, FormatId::Opus, FormatId::Mpeg,
                                 FormatId::Opus, FormatId::OggVorbis, FormatId::OggVorbis, FormatId::Flac, FormatId::Wav};
    std::vector<InputFormat> reversed(InputFormats().rbegin(), InputFormats().rend()), shuffled = reversed;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(30));
    for (std::size_t i = 0; i < std::size(files); ++i) {
        const auto& [name, bytes] = files[i];
        SCOPED_TRACE(name);
        AudioSource source;
        ASSERT_TRUE(OpenBytes(dir, *bytes, source, ClassifyPath(name), name));
        EXPECT_EQ(source.Format->Id, expected[i]);
        EXPECT_GT(ReadAll(source).size(), 0u);
        EXPECT_FALSE(source.Damaged());
        for (const auto& table : {std::span<const InputFormat>(shuffled), std::span<const InputFormat>(reversed)}) {
            const OpenedInput opened = OpenInput((dir / name).string(), ClassifyPath(name), {}, table);
            ASSERT_NE(opened.Reader, nullptr);
            EXPECT_EQ(opened.Format->Id, expected[i]);
        }
    }
}

}  // namespace
