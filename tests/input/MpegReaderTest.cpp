// The MPEG reader: which header starts a stream, what the stream record
// says, and how damaged or changing streams read.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "InputTestSupport.h"
#include "input/MpegReader.h"
#include "support/MpegFixtures.h"

namespace {

using namespace input_test;
using namespace mpeg_fixtures;

// The sync bits, a layer the type does not name, bitrate index 15 and rate index 3 are passed over by
// the start-up below.
TEST(MpegReader, AcceptableFrameHeaders) {
    struct Case {
        uint8_t header[4];
        int32_t layer;
        bool accepted;
    };
    const Case cases[] = {
        {{0xFF, 0xFB, 0x90, 0x64}, 3, true},   // MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, joint stereo
        {{0xFF, 0xFF, 0x14, 0xC0}, 1, true},   // Layer I
        {{0xFF, 0xF9, 0x90, 0x64}, 3, false},  // layer bits 0
        {{0xFF, 0xEB, 0x90, 0x64}, 3, false},  // the reserved version
        {{0xFF, 0xE3, 0x90, 0x64}, 3, true},   // MPEG-2.5
        {{0xFF, 0xFB, 0x00, 0x64}, 3, true},   // free format
        {{0xFF, 0xFB, 0x90, 0x66}, 3, false},  // the reserved emphasis
        {{0xFF, 0xFD, 0x34, 0x44}, 2, false},  // MPEG-1 Layer II at 48 kbit/s: joint stereo refused
        {{0xFF, 0xFD, 0x34, 0xC4}, 2, true},   // ... single channel allowed
        {{0xFF, 0xFD, 0xB4, 0xC4}, 2, false},  // 192 kbit/s: single channel refused
        {{0xFF, 0xFD, 0xB4, 0x04}, 2, true},
        {{0xFF, 0xF5, 0x34, 0x44}, 2, true},   // the table is for MPEG-1 only
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsAcceptableFrameHeader(c.header, c.layer), c.accepted)
            << ::testing::PrintToString(Bytes(c.header, c.header + 4)) << " layer " << c.layer;
    }
}

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
    struct Case {
        const char* name;
        Bytes file;
        SourceType type;
        int64_t samples;  // -1: refused
    };
    const Case cases[] = {
        {"an ID3v2 tag of 4096 body bytes", Cat({id3, frames}), kSourceMpegLayer1, 6 * kLayer1FrameSamples},
        {"junk, bitrate index 15, rate index 3", Cat({junk, frames}), kSourceMpegLayer1, 6 * kLayer1FrameSamples},
        {"an AiD header", Cat({Bytes{'A', 'i', 'D', 1, 6 + 64, 0}, twoFrames, frames}), kSourceMpegLayer1,
         6 * kLayer1FrameSamples},
        {"one frame, shorter than any start-up read", Bytes(frames.begin(), frames.begin() + kLayer1FrameBytes),
         kSourceMpegLayer1, kLayer1FrameSamples},
        {"cut in the middle of the last frame", Bytes(frames.begin(), frames.end() - 10), kSourceMpegLayer1,
         5 * kLayer1FrameSamples},
        {"an AiD length below its own 6 bytes", Cat({Bytes{'A', 'i', 'D', 1, 2, 0}, frames}), kSourceMpegLayer1, -1},
        {"Layer I frames in a '.mp3'", frames, kSourceMpegLayer3, -1},
        {"Layer I frames in a '.mp2'", frames, kSourceMpegLayer2, -1},
        {"zero bytes", {}, kSourceMpegLayer1, -1},
        {"an ID3v2 tag and nothing else", id3, kSourceMpegLayer1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fixtures::ErrorCapture errors;
        AudioSource source;
        const std::string path = (dir / "input").string();
        const bool opened = OpenBytes(dir, c.file, source, c.type, "input");
        ASSERT_EQ(opened, c.samples >= 0) << errors.joined();
        if (!opened) {
            EXPECT_EQ(errors.messages(), std::vector<std::string>{"Can't find an MPEG audio frame in '" + path + "'\n"});
            continue;
        }
        const std::vector<int16_t> samples = ReadAll(source);
        EXPECT_EQ(samples, std::vector<int16_t>(expected.begin(), expected.begin() + c.samples));
        EXPECT_FALSE(source.Damaged);
        EXPECT_TRUE(errors.messages().empty()) << errors.joined();
    }
}

TEST(MpegReader, TheStreamRecordComesFromTheFirstFrameAndTheInfoFrame) {
    fixtures::TempDir dir;
    struct Case {
        const char* lameOptions;  // nullptr: the ffmpeg Layer II file
        int channels, rate;
        int32_t layer, frameSize, mode, bitrate;  // bitrate -1: not checked (VBR)
        bool tagged;
        bool twoId3Tags = false;  // the second holding a frame header inside a frame
    };
    const Case cases[] = {
        {"-V 2", 2, 44100, 3, 1152, 1, -1, true, true},
        {"-b 128 -t", 2, 44100, 3, 1152, 1, 128, false},
        {"-m m -b 16 -t", 1, 8000, 3, 576, 3, 16, false},
        {nullptr, 2, 48000, 2, 1152, 0, 192, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lameOptions ? c.lameOptions : "mp2");
        const fs::path wav = dir / "in.wav";
        WriteClickWav(wav, c.channels, c.rate, 20000, 100);
        fs::path file = c.lameOptions ? Lame(wav, dir / "in.mp3", c.lameOptions) : FfmpegMp2(wav, dir / "in.mp2", 192);
        if (c.twoId3Tags) {
            const Bytes priv = Cat({Bytes{'P', 'R', 'I', 'V', 0, 0, 0, 46, 0, 0, 'x', 0, 0xFF, 0xFB, 0x90, 0x64}, Bytes(40, 0)});
            fixtures::WriteFile(file = dir / "tags.mp3", Cat({Id3v2Tag({'T', 'I', 'T', '2', 0, 0, 0, 2, 0, 0, 0, 'x'}),
                                                               Id3v2Tag(priv), fixtures::ReadFile(dir / "in.mp3")}));
        }
        AudioSource source;
        ASSERT_TRUE(OpenPath(file.string(), source, ClassifyPath(file.string())));
        const StreamInfo& info = source.Info;
        EXPECT_EQ(std::make_tuple(info.Channels, info.SampleRate, info.Layer, info.FrameSize, info.Mode),
                  std::make_tuple(c.channels, c.rate, c.layer, c.frameSize, c.mode));
        if (c.bitrate >= 0) {
            EXPECT_EQ(info.Bitrate, c.bitrate);
        }
        const int64_t frames = std::ssize(ReadAll(source)) / c.channels;
        if (c.tagged) {
            // lame's own delay, a padding, and the count of the audio frames after the Info frame.
            EXPECT_EQ(info.EncoderDelay, 576);
            EXPECT_GE(info.EncoderPadding, 0);
            EXPECT_EQ(info.FrameCount * c.frameSize, frames);
            EXPECT_EQ(info.SampleCount, frames);
        } else {
            // Estimated from the file size and the first frame's bitrate, which a constant bitrate keeps true.
            EXPECT_EQ(std::make_tuple(info.EncoderDelay, info.EncoderPadding, info.FrameCount), std::make_tuple(-1, -1, -1));
            EXPECT_NEAR(info.SampleCount, frames, frames / 1000);
        }
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
    std::vector<int32_t> counts;
    int16_t block[2][kBlockFrames];
    for (int i = 0; i < 200; ++i) {
        counts.push_back(ReadSourceBlock16(block, changing));
        if (counts.back() == 0) break;
    }
    const auto refused = std::count(counts.begin(), counts.end(), -1);
    EXPECT_GE(refused, 20);
    EXPECT_EQ(std::find(counts.begin(), counts.end(), -1) + refused + 1, counts.end()) << ::testing::PrintToString(counts);
    EXPECT_FALSE(changing.Damaged);
}

}  // namespace
