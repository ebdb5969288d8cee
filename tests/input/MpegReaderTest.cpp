// The MPEG reader: where a stream starts, and how a stream that changes its
// layout reads. Its damage marks are in AudioSourceTest, its samples and its
// stream record are checked against mpg123 by the decode job's tests.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "InputTestSupport.h"
#include "support/MpegFixtures.h"

namespace {

using namespace input_test;
using namespace mpeg_fixtures;

// Where the first frame is, for a ".mp1" of six Layer I frames; every
// accepted file must give exactly the samples of the plain stream.
TEST(MpegReader, TheStartUpFindsTheFirstFrameOrFailsWithAMessage) {
    fixtures::TempDir dir;
    const Bytes frames = Layer1Frames(6);
    const Bytes twoFrames(frames.begin(), frames.begin() + 2 * kLayer1FrameBytes);
    AudioSource plain;
    ASSERT_TRUE(OpenBytes(dir, frames, plain, kSourceMpegLayer1, "plain.mp1"));
    const std::vector<int16_t> expected = ReadAll(plain);
    ASSERT_EQ(std::ssize(expected), 6 * kLayer1FrameSamples);

    // Whole frames inside the tag body would be found if the tag were not skipped.
    Bytes id3 = Cat({Bytes{'I', 'D', '3', 4, 0, 0, 0x00, 0x00, 0x20, 0x00}, twoFrames, Bytes(4096 - 64, 0)});
    const Bytes junk = Cat({Bytes{1, 2, 0xFF, 0xFF}, Bytes{0xFF, 0xFF, 0xF4, 0xC0}, Bytes(30, 0x55),
                            Bytes{0xFF, 0xFF, 0x1C, 0xC0}, Bytes(30, 0x55), Bytes{0xFF, 0xFE}});
    // MPEG-1 Layer II, 32 kbit/s, 32 kHz, one channel: 144 bytes of silence.
    const Bytes layer2 = Cat({Bytes{0xFF, 0xFD, 0x18, 0xC0}, Bytes(140, 0)});
    struct Case { const char* name; Bytes file; SourceType type; int frames; };  // frames -1: refused
    const Case cases[] = {
        {"an ID3v2 tag of 4096 body bytes", Cat({id3, frames}), kSourceMpegLayer1, 6},
        {"junk, bitrate index 15, rate index 3", Cat({junk, frames}), kSourceMpegLayer1, 6},
        {"an AiD header", Cat({Bytes{'A', 'i', 'D', 1, 6 + 64, 0}, twoFrames, frames}), kSourceMpegLayer1, 6},
        // The decoder, started on a false header, synchronises onto Layer II frames; the search once went
        // on from where the decoder had left the file, past the real frames.
        {"a false header before frames of another layer", Cat({Bytes{0xFF, 0xFF, 0x14, 0xC0}, Bytes(10, 0), layer2,
                                                                 layer2, layer2, layer2, frames}),
         kSourceMpegLayer1, 6},
        {"one frame, shorter than any start-up read", Bytes(frames.begin(), frames.begin() + kLayer1FrameBytes),
         kSourceMpegLayer1, 1},
        {"cut in the middle of the last frame", Bytes(frames.begin(), frames.end() - 10), kSourceMpegLayer1, 5},
        // A length below its own 6 bytes once moved the search back onto the same header for ever.
        {"an AiD length of 2", Cat({Bytes{'A', 'i', 'D', 1, 2, 0}, frames}), kSourceMpegLayer1, -1},
        {"Layer I frames in a '.mp3'", frames, kSourceMpegLayer3, -1},
        {"an ID3v2 tag and nothing else", id3, kSourceMpegLayer1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fixtures::ErrorCapture errors;
        AudioSource source;
        const bool opened = OpenBytes(dir, c.file, source, c.type, "input");
        ASSERT_EQ(opened, c.frames >= 0) << errors.joined();
        if (!opened) {
            EXPECT_EQ(errors.messages(),
                      std::vector<std::string>{"Can't find an MPEG audio frame in '" + (dir / NameOfType("input", c.type)).string() + "'\n"});
            continue;
        }
        const auto end = expected.begin() + c.frames * kLayer1FrameSamples;
        EXPECT_EQ(ReadAll(source), std::vector<int16_t>(expected.begin(), end));
        EXPECT_FALSE(source.Damaged());
        EXPECT_TRUE(errors.messages().empty()) << errors.joined();
    }
}

TEST(MpegReader, FramesOfAnotherLayoutAreRefusedOneByOne) {
    fixtures::TempDir dir;
    WriteClickWav(dir / "a.wav", 2, 44100, 44100, 10);
    WriteClickWav(dir / "b.wav", 1, 32000, 32000, 10);
    const Bytes plain = fixtures::ReadFile(Lame(dir / "a.wav", dir / "p.mp3", "-b 128 -t"));
    const Bytes mono32 = fixtures::ReadFile(Lame(dir / "b.wav", dir / "b.mp3", "-b 64 -t"));
    // Stereo 44.1 kHz frames, then mono 32 kHz ones: each of those is refused on its own, then the end.
    AudioSource changing;
    ASSERT_TRUE(OpenBytes(dir, Cat({plain, mono32}), changing, kSourceMpegLayer3, "x.mp3"));
    std::string reads;  // one letter a read: d delivered, r refused, e the end
    int16_t block[2][kBlockFrames];
    for (int i = 0; i < 200 && !reads.ends_with('e'); ++i) {
        const int32_t frames = ReadSourceBlock16(block, changing);
        reads += frames > 0 ? 'd' : frames < 0 ? 'r' : 'e';
    }
    EXPECT_THAT(reads, ::testing::MatchesRegex("d+r{20,}e"));
    EXPECT_FALSE(changing.Damaged());
}

}  // namespace
