// MPEG files to WAV files: the header bytes, the trims, the samples against
// an independent decoder, and the failures of a job.

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "decode/DecodeJob.h"
#include "decode/WavWriter.h"
#include "input/InputTestSupport.h"
#include "support/MpegFixtures.h"

namespace {

using namespace mpeg_fixtures;
using input_test::Cat;

// The provisional size, positive for readers that take it as signed, and the
// largest size, whose RIFF size still fits 32 bits. The other fields are
// checked against mpg123's headers below.
TEST(WavWriter, TheProvisionalAndTheLargestDataSize) {
    const std::pair<uint32_t, Bytes> cases[] = {{kProvisionalDataSize, {0x23, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 0x7F}},
                                                {kLargestDataSize, {0xF4, 0xFF, 0xFF, 0xFF, 0xD0, 0xFF, 0xFF, 0xFF}}};
    for (const auto& [dataSize, riffAndDataSizes] : cases) {
        std::FILE* file = std::tmpfile();
        EXPECT_EQ(WriteWavHeader(file, dataSize, 44100, 2, 16), 0);
        Bytes header(kWavHeaderBytes);
        std::rewind(file);
        EXPECT_EQ(std::fread(header.data(), 1, header.size(), file), kWavHeaderBytes);
        std::fclose(file);
        EXPECT_EQ(Cat({Bytes(header.begin() + 4, header.begin() + 8), Bytes(header.begin() + 40, header.end())}),
                  riffAndDataSizes);
    }
}

// Cutting a negative count would write samples past the decoded ones.
TEST(DecodeJob, APaddingBelowTheDecodersDelayCutsNothing) {
    StreamInfo info;
    info.EncoderDelay = 576;
    info.EncoderPadding = 100;
    EXPECT_EQ(TrimFor(kSourceMpegLayer3, info).End, 0);
}

JobResult Decode(const fs::path& input, const fs::path& outputDir = {}) {
    return RunDecodeJob(input.string(), Settings{}, outputDir.string(), fixtures::CapturingHooks());
}

// mpg123 trims only what a LAME tag tells; ours must be its samples from where
// our trims start, to the same end. A file with a LAME tag comes back at the
// original's length.
TEST(DecodeJob, SamplesMatchMpg123AndATaggedFileKeepsItsLength) {
    fixtures::TempDir dir;
    constexpr int64_t kFrames = 40007, kClickAt = 12345;
    const auto click = [&](const char* name, int channels, int rate) {
        WriteClickWav(dir / name, channels, rate, kFrames, kClickAt);
        return dir / name;
    };
    fixtures::WriteFile(dir / "layer1.mp1", Layer1Frames(40));
    const std::pair<fs::path, int64_t> cases[] = {  // the input, and where our first sample is in mpg123's output
        {Lame(click("s44.wav", 2, 44100), dir / "vbr.mp3", "-V 2"), 0},
        {Lame(click("m32.wav", 1, 32000), dir / "mono.mp3", "-m m -b 64"), 0},
        {Lame(click("s22.wav", 2, 22050), dir / "mpeg2.mp3", "-m s -b 64"), 0},
        {Lame(click("m11.wav", 1, 11025), dir / "mpeg25.mp3", "-m m -b 32"), 0},
        // Without a tag we trim the usual encoder delay and the decoder's.
        {Lame(dir / "s44.wav", dir / "cbr.mp3", "-b 160 -t"), 1105},
        {Lame(click("m22.wav", 1, 22050), dir / "small.mp3", "-b 48"), 1105},  // frames too small for a tag
        {FfmpegMp2(click("s48.wav", 2, 48000), dir / "layer2.mp2", 224), 241},
        {dir / "layer1.mp1", 241},
    };
    for (const auto& [input, offset] : cases) {
        SCOPED_TRACE(input.filename().string());
        ASSERT_EQ(Decode(input), JobResult::Done);
        const Wav16 wav = ReadWav16(fs::path(input).replace_extension(".wav"));
        ASSERT_TRUE(RunQuietly("mpg123 -q -w " + Quoted(dir / "mpg123.wav") + " " + Quoted(input)));
        const Wav16 mpg123 = ReadWav16(dir / "mpg123.wav");
        EXPECT_EQ(wav.Format(), mpg123.Format());
        EXPECT_TRUE(wav.SizeIsRight());
        // The same library decodes for both, so every sample must be equal.
        EXPECT_TRUE(std::equal(wav.Samples.begin(), wav.Samples.end(), mpg123.Samples.begin() + offset * wav.Channels(),
                               mpg123.Samples.end()));
        if (offset != 0) continue;
        EXPECT_EQ(wav.Header, mpg123.Header);
        EXPECT_EQ(wav.Frames(), kFrames);
    }
}

// Every failure is reported, leaves the input where it was, and the queue goes on.
TEST(DecodeJob, FailuresReportAndLeaveTheInputAlone) {
    fixtures::TempDir dir;
    fs::create_directories(dir / "out");
    fixtures::WriteWav16(dir / "pcm.wav", 2, 44100, fixtures::Sine16(2, 44100, 3000));
    WriteClickWav(dir / "in.wav", 2, 44100, 30000, 10);
    const fs::path good = Lame(dir / "in.wav", dir / "good.mp3", "-b 128 -t");
    const Bytes mp3 = fixtures::ReadFile(good);
    fixtures::WriteFile(dir / "damaged.mp3", input_test::Spliced(mp3, std::ssize(mp3) / 2, Noise(5000, 41)));
    struct Case { fs::path input, outputDir, output; JobResult result; std::string message; };
    const Case cases[] = {
        {dir / "pcm.wav", {}, dir / "pcm.wav", JobResult::Failed, "Input file and Output file are the same. Abort.\n"},
        {dir / "pcm.wav", dir / "out", dir / "out" / "pcm.wav", JobResult::Done, ""},
        {dir / "damaged.mp3", {}, dir / "damaged.wav", JobResult::Failed,
         "Error reading input file '" + (dir / "damaged.mp3").string() + "'\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.string() + " -> " + c.output.string());
        const Bytes input = fixtures::ReadFile(c.input);
        fixtures::ErrorCapture errors;
        EXPECT_EQ(Decode(c.input, c.outputDir), c.result);
        EXPECT_EQ(errors.joined().empty(), c.message.empty()) << errors.joined();
        EXPECT_THAT(errors.joined(), testing::HasSubstr(c.message));
        EXPECT_EQ(fixtures::ReadFile(c.input), input);
        EXPECT_EQ(fs::exists(c.output), c.result == JobResult::Done || c.output == c.input);
    }
    // A WAV reaching the job is copied.
    EXPECT_EQ(ReadWav16(dir / "out" / "pcm.wav").Samples, fixtures::Sine16(2, 44100, 3000));
}

}  // namespace
