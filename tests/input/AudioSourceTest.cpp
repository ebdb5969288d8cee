// Opening and closing inputs, saturation, the damaged mark, and damaged
// headers that must open or fail cleanly.

#include <filesystem>
#include <limits>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "InputTestSupport.h"
#include "input/PcmReader.h"

namespace {

using namespace input_test;
using fixtures::MakeWav;
using fixtures::Pcm16LE;

// A failed open must report and return, never end the process.
TEST(AudioSource, OpenFailuresReportThePathAndReturn) {
    fixtures::TempDir dir;
    fixtures::ErrorCapture errors;
    AudioSource source;
    const std::string absent = (dir / "absent.wav").string(), mp3 = (dir / "input.mp3").string();
    EXPECT_FALSE(OpenPath(absent, source));
    ASSERT_EQ(errors.messages().size(), 1u);
    EXPECT_THAT(errors.messages()[0], ::testing::StartsWith("Can't open input file '" + absent + "'\n"));
    const Bytes wav = MakeWav({}, Pcm16LE({1, 2}));
    const std::string noFrame = "Can't find an MPEG audio frame in '" + mp3 + "'\n";
    const std::tuple<Bytes, SourceType, std::string> unreadable[] = {
        // The MPEG row reads whatever a file of its types holds.
        {wav, kSourceMpegLayer1, noFrame}, {wav, kSourceMpegLayer2, noFrame}, {wav, kSourceMpegLayer3, noFrame},
        {wav, kSourceUnknown, "No reader for this input type: '" + mp3 + "'\n"},
        // So does the Ogg Vorbis reader; a FLAC stream without a frame has no channels.
        {wav, kSourceOgg, "Error reading headers in ogg input file " + mp3 + ".\n"},
        {Bytes{'f', 'L', 'a', 'C', 0x80, 0, 0, 0}, kSourceFlac, "Unsupported number of channels: 0d\n"},
    };
    for (const auto& [file, type, message] : unreadable) {
        errors.clear();
        EXPECT_FALSE(OpenBytes(dir, file, source, type, "input.mp3"));
        EXPECT_EQ(errors.messages(), std::vector<std::string>{message});
        EXPECT_EQ(source.File, nullptr);
        EXPECT_EQ(source.Reader, nullptr);
    }
}

constexpr float kInf = std::numeric_limits<float>::infinity(), kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kLoud[] = {40000.0f, -40000.0f, 32767.9f, -32768.9f, 1e30f, -1e30f, kInf, kNan, 0.9f, -0.9f, -1.5f};
constexpr int32_t kSaturated[] = {32767, -32768, 32767, -32768, 32767, -32768, 32767, 0, 0, 0, -1};

// Stands for a scaling stage around ReadOp that pushes samples past 16 bits.
int32_t LoudStage(void*, float** buffers, int32_t) {
    for (int c = 0; c < 2; ++c) std::copy(std::begin(kLoud), std::end(kLoud), buffers[c]);
    return std::ssize(kLoud);
}

TEST(AudioSource, BothBlockLayoutsSaturateInsteadOfWrapping) {
    fixtures::TempDir dir;
    AudioSource source;
    ASSERT_TRUE(OpenBytes(dir, MakeWav({}, Pcm16LE({1, 1})), source));
    ReadOperation readerOp = source.ReadOp;
    source.ReadOp = LoudStage;
    int16_t narrow[2][kBlockFrames];
    int32_t wide[2][kBlockFrames];
    ASSERT_EQ(ReadSourceBlock16(narrow, source), std::ssize(kLoud));
    ASSERT_EQ(ReadSourceBlock(wide, source), std::ssize(kLoud));
    for (int i = 0; i < std::ssize(kLoud); ++i) {
        for (int c = 0; c < 2; ++c) {
            EXPECT_EQ(narrow[c][i], kSaturated[i]) << kLoud[i];
            EXPECT_EQ(wide[c][i], kSaturated[i] * 65536) << kLoud[i];  // the encoder takes the upper half
        }
    }
    source.ReadOp = readerOp;
}

TEST(AudioSource, ACutOffCopyOrAReadErrorMarksTheSourceDamaged) {
    fixtures::TempDir dir;
    const std::vector<int16_t> samples = fixtures::Sine16(2, 44100, 1000);
    Bytes wav = MakeWav({}, Pcm16LE(samples));
    Bytes aiff = Form("AIFF", {Common(2, 1000, 16), Sound(Packed({samples.begin(), samples.end()}, 2, true))});
    // 499 whole frames and part of one: every whole frame is still delivered.
    wav.resize(wav.size() - 500 * 4 - 1);
    aiff.resize(aiff.size() - 500 * 4 - 3);
    for (const Bytes& file : {wav, aiff}) {
        AudioSource source;
        ASSERT_TRUE(OpenBytes(dir, file, source));
        EXPECT_EQ(source.Info.SampleCount, 1000);
        EXPECT_EQ(ReadAll(source), std::vector<int16_t>(samples.begin(), samples.begin() + 499 * 2));
        EXPECT_TRUE(source.Damaged);
    }
    // A stream open only for writing fails every read, whether the length is known or not.
    std::FILE* file = std::fopen((dir / "write-only").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    for (bool known : {false, true}) {
        bool damaged = false;
        PcmReaderState* state = CreatePcmState(file, 2, PcmEncoding::Signed16LE, known ? 10 : 0, known, &damaged);
        float left[16], right[16], *buffers[2] = {left, right};
        EXPECT_EQ(ReadPcmFrames(state, buffers, 16), 0);
        EXPECT_TRUE(damaged);
        ReleasePcmState(state);
    }
    std::fclose(file);
}

TEST(AudioSource, NothingStaysOpenAfterCloseAFailedOpenOrAnEarlyReturn) {
    fixtures::TempDir dir;
    fixtures::ErrorCapture errors;
    auto openFiles = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    const auto before = openFiles();
    {
        AudioSource closed, refused, abandoned;
        ASSERT_TRUE(OpenBytes(dir, MakeWav({}, Pcm16LE({1, 2})), closed));
        EXPECT_TRUE(CloseAudioSource(closed));
        EXPECT_TRUE(CloseAudioSource(closed));
        // The reader opened it; the channel check refused it afterwards.
        EXPECT_FALSE(OpenBytes(dir, MakeWav({.channels = 6}, Bytes(24, 0)), refused));
        EXPECT_EQ(refused.Reader, nullptr);
        ASSERT_TRUE(OpenBytes(dir, MakeWav({}, Pcm16LE({1, 2})), abandoned));
        EXPECT_EQ(openFiles(), before + 1);
    }
    EXPECT_EQ(openFiles(), before);
}

TEST(AudioSource, AStreamThatCannotSeekIsReadToItsEnd) {
    fixtures::ErrorCapture errors;
    const std::vector<int16_t> samples = fixtures::Sine16(2, 44100, 3000);
    // The chunk first must be skipped by reading; the data length is left unpatched.
    const Bytes file = Spliced(MakeWav({.dataLength = 0}, Pcm16LE(samples)), 12, Chunk("LIST", Bytes(3001, 1)));
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(write(ends[1], file.data(), file.size()), std::ssize(file));  // within the pipe's buffer
    close(ends[1]);
    AudioSource source;
    EXPECT_TRUE(OpenPath("/proc/self/fd/" + std::to_string(ends[0]), source));
    EXPECT_EQ(source.Info.SampleCount, kSampleCountNotGiven);
    EXPECT_EQ(ReadAll(source), samples);
    EXPECT_FALSE(source.Damaged);
    EXPECT_TRUE(errors.messages().empty()) << errors.joined();
    close(ends[0]);
}

// Each file cut at every byte, and each 1-, 2- and 4-byte field at 0, 1, -2, all ones and the
// extremes of its signed range in either byte order. Under the sanitizers this is where an
// out-of-bounds access, a signed overflow or a division by zero shows.
TEST(AudioSource, CorruptAndTruncatedHeadersOpenOrFailCleanly) {
    const Bytes files[] = {
        Spliced(MakeWav({}, Packed({1, 2, 3, 4, 5, 6}, 2)), 12, Chunk("LIST", {'x'})),
        MakeWav({.formatTag = 0xFFFE, .bits = 32, .fmtSize = 40, .subFormatCode = 3}, Floats({0.5f, -0.5f, 1, -1})),
        MakeWav({.channels = 1, .bits = 8}, {1, 2, 3}),
        Form("AIFF", {Common(2, 2, 16), Sound(Packed({1, 2, 3, 4}, 2, true))}),
        Form("AIFC", {Common(2, 2, 16, "sowt"), Sound(Packed({1, 2, 3, 4}, 2), 2)}),
        Form("AIFF", {Common(1, 3, 8), Sound({1, 2, 3})}),
    };
    fixtures::TempDir dir;
    int caseNumber = 0;
    auto openAndRead = [&](const Bytes& file, const std::string& change) {
        SCOPED_TRACE(change);
        fixtures::ErrorCapture errors;
        AudioSource source;
        // A fresh name per case: rewriting one file makes the file system flush it each time.
        const std::string name = std::to_string(++caseNumber);
        const bool opened = OpenBytes(dir, file, source, kSourceWav, name);
        std::filesystem::remove(dir / name);
        if (!opened) {
            EXPECT_FALSE(errors.messages().empty()) << "failed without a message";
            EXPECT_EQ(source.File, nullptr);
            EXPECT_EQ(source.Reader, nullptr);
            return;
        }
        // Each file holds less than a block; a reader that went on past its end would need more.
        EXPECT_LE(ReadAll(source, 4).size(), file.size());
        int16_t block[2][kBlockFrames];
        EXPECT_EQ(ReadSourceBlock16(block, source), 0) << "no end";
        EXPECT_TRUE(CloseAudioSource(source));
    };
    for (const Bytes& file : files) {
        for (std::size_t at = 0; at < file.size(); ++at) {
            SCOPED_TRACE(::testing::PrintToString(file) + " at " + std::to_string(at));
            openAndRead(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(at)), "cut");
            for (int width : {1, 2, 4}) {
                const int64_t top = int64_t{1} << (8 * width - 1);
                for (int64_t value : {int64_t{0}, int64_t{1}, int64_t{-2}, int64_t{-1}, top - 1, -top}) {
                    for (bool bigEndian : {false, true}) {
                        Bytes changed = file, field = Packed({value}, width, bigEndian);
                        if (at + field.size() > file.size() || (bigEndian && width == 1)) continue;
                        std::copy(field.begin(), field.end(), changed.begin() + static_cast<std::ptrdiff_t>(at));
                        openAndRead(changed, std::to_string(width) + " bytes of " + std::to_string(value));
                    }
                }
            }
        }
    }
}

}  // namespace
