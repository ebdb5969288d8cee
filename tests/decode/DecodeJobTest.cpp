// MPEG files to WAV files: the header bytes, the trims, the samples against
// independent decoders, and the failures of a job.

#include <algorithm>
#include <cstring>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "decode/DecodeJob.h"
#include "decode/WavWriter.h"
#include "encode/EncodeJob.h"
#include "encode/Mp3Inspect.h"
#include "input/InputTestSupport.h"
#include "support/MpegFixtures.h"

namespace {

using namespace mpeg_fixtures;
using input_test::Cat;
using ::testing::HasSubstr;

Bytes Ascii(const char* text) { return Bytes(text, text + std::strlen(text)); }

Bytes Written(const std::function<void(std::FILE*)>& write) {
    std::FILE* file = std::tmpfile();
    write(file);
    Bytes bytes(static_cast<std::size_t>(std::ftell(file)));
    std::rewind(file);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
    return bytes;
}

TEST(WavWriter, HeaderAndSampleBytes) {
    struct Case {
        uint32_t dataSize, rate;
        uint16_t channels;
        Bytes riffSize, format, dataSizeBytes;  // format: channels, rate, byte rate, alignment, bits
    };
    const Case cases[] = {
        {0, 44100, 1, {36, 0, 0, 0}, {1, 0, 0x44, 0xAC, 0, 0, 0x88, 0x58, 1, 0, 2, 0, 16, 0}, {0, 0, 0, 0}},
        {1000, 48000, 2, {0x0C, 4, 0, 0}, {2, 0, 0x80, 0xBB, 0, 0, 0x00, 0xEE, 2, 0, 4, 0, 16, 0}, {0xE8, 3, 0, 0}},
        {kProvisionalDataSize, 44100, 2, {0x23, 0, 0, 0x80}, {2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0},
         {0xFF, 0xFF, 0xFF, 0x7F}},
        {kLargestDataSize, 44100, 2, {0xF4, 0xFF, 0xFF, 0xFF}, {2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0},
         {0xD0, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        const Bytes expected = Cat({Ascii("RIFF"), c.riffSize, Ascii("WAVEfmt "), {16, 0, 0, 0, 1, 0}, c.format,
                                    Ascii("data"), c.dataSizeBytes});
        EXPECT_EQ(Written([&](std::FILE* file) { EXPECT_EQ(WriteWavHeader(file, c.dataSize, c.rate, c.channels, 16), 0); }),
                  expected);
    }
    const int16_t block[2][kBlockFrames] = {{-2, 1, 7}, {32767, -32768, 9}};
    EXPECT_EQ(Written([&](std::FILE* file) { EXPECT_TRUE(WriteWavFrames(file, block, 2, 0, 2)); }),
              (Bytes{0xFE, 0xFF, 0xFF, 0x7F, 0x01, 0x00, 0x00, 0x80}));
    EXPECT_EQ(Written([&](std::FILE* file) { EXPECT_TRUE(WriteWavFrames(file, block, 1, 1, 3)); }),
              (Bytes{0x01, 0x00, 0x07, 0x00}));
}

TEST(DecodeJob, TrimsByLayerAndWhatTheStreamTells) {
    struct Case {
        SourceType type;
        int32_t delay, padding;
        int64_t start, end;
    };
    const Case cases[] = {
        {kSourceMpegLayer3, -1, 1000, 0, 471},
        {kSourceMpegLayer3, 576, 100, 1105, 0},  // a padding below the decoder's delay cuts nothing
        {kSourceMpegLayer2, 576, 1000, 241, 0},  // only Layer III streams carry lame's values
    };
    for (const Case& c : cases) {
        StreamInfo info;
        info.EncoderDelay = c.delay;
        info.EncoderPadding = c.padding;
        const EdgeTrim trim = TrimFor(c.type, info);
        EXPECT_EQ(std::make_pair(trim.Start, trim.End), std::make_pair(c.start, c.end)) << c.type << " " << c.delay;
    }
}

JobResult Decode(const fs::path& input, const fs::path& outputDir = {}, const std::atomic<int32_t>* stop = nullptr) {
    JobHooks hooks = fixtures::CapturingHooks();
    hooks.Stop = stop;
    return RunDecodeJob(input.string(), Settings{}, outputDir.string(), hooks);
}

// A click encoded and decoded comes back at its own sample in a file of the
// original length that holds exactly the data its header declares.
TEST(DecodeJob, RoundTripKeepsTheLengthAndTheClickPosition) {
    fixtures::TempDir dir;
    constexpr int64_t kFrames = 40007, kClickAt = 12345;
    struct Case {
        const char* lameOptions;
        int channels, rate;
    };
    const Case cases[] = {
        {"-V 2", 2, 44100}, {"-m m -b 64", 1, 32000}, {"-m s -b 64", 2, 22050}, {"-m m -b 32", 1, 11025}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lameOptions);
        WriteClickWav(dir / "in.wav", c.channels, c.rate, kFrames, kClickAt);
        const fs::path mp3 = Lame(dir / "in.wav", dir / "song.mp3", c.lameOptions);
        ASSERT_EQ(Decode(mp3), JobResult::Done);
        const Wav16 wav = ReadWav16(dir / "song.wav");
        EXPECT_EQ(std::make_tuple(wav.Channels, wav.Rate), std::make_tuple(c.channels, c.rate));
        EXPECT_EQ(wav.DeclaredBytes, wav.FileBytes - 44);
        EXPECT_EQ(wav.Frames(), kFrames);
        int64_t loudest = 0;
        for (int64_t i = 0; i < wav.Frames(); ++i) {
            if (std::abs(wav.Samples[i * c.channels]) > std::abs(wav.Samples[loudest * c.channels])) loudest = i;
        }
        EXPECT_EQ(loudest, kClickAt);
    }
}

TEST(DecodeJob, SamplesMatchIndependentDecoders) {
    fixtures::TempDir dir;
    WriteClickWav(dir / "stereo.wav", 2, 44100, 50000, 1000);
    WriteClickWav(dir / "mono.wav", 1, 22050, 30000, 1000);
    WriteClickWav(dir / "stereo48.wav", 2, 48000, 50000, 1000);
    fixtures::WriteFile(dir / "layer1.mp1", Layer1Frames(40));
    struct Case {
        fs::path input;
        int64_t mpg123Offset;  // where our first sample is in the reference's output
        int64_t lameOffset;    // -1: lame is not asked
    };
    const Case cases[] = {
        {Lame(dir / "stereo.wav", dir / "vbr.mp3", "-V 3"), 0, 0},
        // Without an encoder tag the gapless reference trims nothing, lame only its decoder's delay.
        {Lame(dir / "stereo.wav", dir / "cbr.mp3", "-b 160 -t"), 1105, 576},
        // lame writes no tag into frames this small.
        {Lame(dir / "mono.wav", dir / "mpeg2.mp3", "-b 48"), 1105, 576},
        {FfmpegMp2(dir / "stereo48.wav", dir / "layer2.mp2", 224), 241, 0},
        {dir / "layer1.mp1", 241, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.filename().string());
        ASSERT_EQ(Decode(c.input), JobResult::Done);
        fs::path ours = c.input;
        const Wav16 wav = ReadWav16(ours.replace_extension(".wav"));
        ASSERT_TRUE(RunQuietly("mpg123 -q -w " + Quoted(dir / "mpg123.wav") + " " + Quoted(c.input)));
        const Wav16 mpg123 = ReadWav16(dir / "mpg123.wav");
        EXPECT_LE(LargestDifference(wav, mpg123, c.mpg123Offset), 1);
        EXPECT_EQ(wav.Frames(), mpg123.Frames() - c.mpg123Offset);
        if (c.lameOffset < 0) continue;
        ASSERT_TRUE(RunQuietly("lame --quiet --decode " + Quoted(c.input) + " " + Quoted(dir / "lame.wav")));
        const Wav16 lame = ReadWav16(dir / "lame.wav");
        EXPECT_LE(LargestDifference(wav, lame, c.lameOffset), 1);
        EXPECT_EQ(wav.Frames(), lame.Frames() - c.lameOffset);
    }
}

Bytes MidStreamJunk(const fs::path& mp3) {
    const Bytes file = fixtures::ReadFile(mp3);
    return input_test::Spliced(file, std::ssize(file) / 2, Noise(5000, 41));
}

// Every failure is reported, leaves the input where it was, and the queue goes on.
TEST(DecodeJob, FailuresReportAndLeaveTheInputAlone) {
    fixtures::TempDir dir;
    fs::create_directories(dir / "out");
    fixtures::WriteWav16(dir / "pcm.wav", 2, 44100, fixtures::Sine16(2, 44100, 3000));
    WriteClickWav(dir / "in.wav", 2, 44100, 30000, 10);
    const fs::path good = Lame(dir / "in.wav", dir / "good.mp3", "-b 128 -t");
    fixtures::WriteFile(dir / "damaged.mp3", MidStreamJunk(good));
    fixtures::WriteText(dir / "junk.mp3", std::string(3000, 'x'));
    fs::create_directories(dir / "full");
    fs::create_symlink("/dev/full", dir / "full" / "good.wav");
    const std::atomic<int32_t> stopped{1};
    struct Case {
        fs::path input, outputDir, output;
        const std::atomic<int32_t>* stop;
        JobResult result;
        std::vector<std::string> messages;
        bool outputKept;
    };
    const Case cases[] = {
        {dir / "junk.mp3", {}, dir / "junk.wav", nullptr, JobResult::Failed, {"Can't find an MPEG audio frame in '"}, false},
        {dir / "pcm.wav", {}, dir / "pcm.wav", nullptr, JobResult::Failed,
         {"Input file and Output file are the same. Abort.\n", "Error initializing input and output files "}, true},
        {dir / "pcm.wav", dir / "out", dir / "out" / "pcm.wav", nullptr, JobResult::Done, {}, true},
        {good, dir / "full", dir / "full" / "good.wav", nullptr, JobResult::Failed, {"Error writing wav output \n"}, true},
        {dir / "damaged.mp3", {}, dir / "damaged.wav", nullptr, JobResult::Failed,
         {"Error reading input file '" + (dir / "damaged.mp3").string() + "'\n"}, true},
        {good, dir / "out", dir / "out" / "good.wav", &stopped, JobResult::Cancelled, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.string() + " -> " + c.output.string());
        const Bytes input = fixtures::ReadFile(c.input);
        fixtures::ErrorCapture errors;
        EXPECT_EQ(Decode(c.input, c.outputDir, c.stop), c.result);
        ASSERT_EQ(errors.messages().size(), c.messages.size()) << errors.joined();
        for (std::size_t i = 0; i < c.messages.size(); ++i) EXPECT_THAT(errors.messages()[i], HasSubstr(c.messages[i]));
        EXPECT_EQ(fixtures::ReadFile(c.input), input);
        EXPECT_EQ(fs::exists(c.output), c.outputKept);
    }
    // What a damaged input gave is still a whole file, and a WAV reaching the job is copied.
    const Wav16 damaged = ReadWav16(dir / "damaged.wav");
    EXPECT_EQ(damaged.DeclaredBytes, damaged.FileBytes - 44);
    EXPECT_GT(damaged.Frames(), 10000);
    EXPECT_EQ(ReadWav16(dir / "out" / "pcm.wav").Samples, fixtures::Sine16(2, 44100, 3000));
}

TEST(DecodeJob, AnOutputThatCannotSeekKeepsTheProvisionalHeader) {
    fixtures::TempDir dir;
    fixtures::WriteFile(dir / "in.mp1", Layer1Frames(10));
    AudioSource source;
    ASSERT_TRUE(input_test::OpenPath((dir / "in.mp1").string(), source, kSourceMpegLayer1));
    std::FILE* pipe = popen(("cat > " + Quoted(dir / "out.wav")).c_str(), "w");
    ASSERT_NE(pipe, nullptr);
    EXPECT_EQ(DecodeToWav(pipe, source), JobResult::Done);
    EXPECT_EQ(pclose(pipe), 0);
    const Wav16 wav = ReadWav16(dir / "out.wav");
    EXPECT_EQ(wav.DeclaredBytes, kProvisionalDataSize);
    EXPECT_EQ(fixtures::ReadFile(dir / "out.wav").at(7), 0x80);  // RIFF size 2147483683
    EXPECT_EQ(wav.Frames(), 10 * kLayer1FrameSamples - kLayer12DecoderDelay);
}

// An MPEG file queued for encoding is read by the same reader; a damaged one
// fails, so its input is never deleted.
TEST(DecodeJob, AnEncodeBatchReadsMpegInputAndKeepsADamagedOne) {
    fixtures::TempDir dir;
    fs::create_directories(dir / "out");
    WriteClickWav(dir / "in.wav", 2, 44100, 30000, 10);
    const fs::path good = Lame(dir / "in.wav", dir / "good.mp3", "-b 128");
    fixtures::WriteFile(dir / "damaged.mp3", MidStreamJunk(good));
    Settings options;
    options.DeleteInput = MenuSwitch(true);
    fixtures::ErrorCapture errors;
    EXPECT_EQ(EncodeFile(good.string(), options, (dir / "out").string(), fixtures::CapturingHooks()), JobResult::Done);
    EXPECT_TRUE(mp3inspect::IsCompleteMp3(dir / "out" / "good.mp3"));
    EXPECT_FALSE(fs::exists(good));
    EXPECT_EQ(EncodeFile((dir / "damaged.mp3").string(), options, (dir / "out").string(), fixtures::CapturingHooks()), JobResult::Failed);
    EXPECT_TRUE(fs::exists(dir / "damaged.mp3"));
    EXPECT_THAT(errors.joined(), HasSubstr("Error reading input file"));
}

}  // namespace
