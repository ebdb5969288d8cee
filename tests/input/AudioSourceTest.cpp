// Opening and closing inputs, saturation, the damaged mark, and damaged
// headers that must open or fail cleanly.

#include <filesystem>
#include <limits>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "InputTestSupport.h"
#include "input/PcmReader.h"
#include "support/MpegFixtures.h"

namespace {

using namespace input_test;
using namespace mpeg_fixtures;
using fixtures::MakeWav;
using fixtures::Pcm16LE;

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

// Whatever the reader, an input that breaks off or loses data on the way ends its data marked damaged,
// and every whole frame before the damage is still delivered.
TEST(AudioSource, CutOrDamagedInputsEndMarkedDamaged) {
    fixtures::TempDir dir;
    const std::vector<int16_t> samples = fixtures::Sine16(2, 44100, 1000);
    Bytes wav = MakeWav({}, Pcm16LE(samples));
    Bytes aiff = Form("AIFF", {Common(2, 1000, 16), Sound(Packed({samples.begin(), samples.end()}, 2, true))});
    // 499 whole frames and part of one.
    wav.resize(wav.size() - 500 * 4 - 1);
    aiff.resize(aiff.size() - 500 * 4 - 3);
    WriteClickWav(dir / "a.wav", 2, 44100, 44100, 10);
    const Bytes tagged = fixtures::ReadFile(Lame(dir / "a.wav", dir / "a.mp3", "-b 128"));
    const Bytes plain = fixtures::ReadFile(Lame(dir / "a.wav", dir / "p.mp3", "-b 128 -t"));
    const Bytes noise = Noise(5000, 14);
    const Bytes vbr = fixtures::ReadFile(Lame(dir / "a.wav", dir / "v.mp3", "-V 2"));  // its Xing frame counts the frames
    ASSERT_TRUE(fixtures::EncodeOgg(dir / "a.wav", dir / "1.ogg", {}, "--serial 1") &&
                fixtures::EncodeOgg(dir / "a.wav", dir / "2.ogg", {}, "--serial 2"));
    const Bytes link = fixtures::ReadFile(dir / "1.ogg"), page = {'O', 'g', 'g', 'S'};
    const Bytes cutLink(link.begin(), std::find_end(link.begin(), link.end(), page.begin(), page.end()));
    const struct {
        const char* name;
        Bytes file;
        SourceType type;
        int64_t frames;  // at least delivered
        bool damaged;
    } rows[] = {
        {"WAV cut", wav, kSourceWav, 499, true},
        {"AIFF cut", aiff, kSourceWav, 499, true},
        {"MP3 junk the decoder cannot resynchronise past", Spliced(plain, 20 * 418, noise), kSourceMpegLayer3, 20 * 1152, true},
        {"the same junk after the frames a stream announced", Cat({tagged, noise}), kSourceMpegLayer3, 20 * 1152, false},
        {"a damaged frame the decoder resynchronises past", Spliced(plain, 20 * 418 + 100, Bytes(200, 0)),
         kSourceMpegLayer3, 20 * 1152, false},
        {"an Ogg chain whose first link lost its last page", Cat({cutLink, fixtures::ReadFile(dir / "2.ogg")}),
         kSourceOgg, 40000, true},
        {"a VBR MP3 cut in half", Bytes(vbr.begin(), vbr.begin() + std::ssize(vbr) / 2), kSourceMpegLayer3, 10 * 1152, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AudioSource source;
        ASSERT_TRUE(OpenBytes(dir, row.file, source, row.type, "input"));
        const std::vector<int16_t> read = ReadAll(source);
        EXPECT_GE(std::ssize(read), row.frames * source.Channels);
        // The container rows: exactly the whole frames before the cut.
        if (row.type == kSourceWav) {
            EXPECT_EQ(read, std::vector<int16_t>(samples.begin(), samples.begin() + 499 * 2));
        }
        EXPECT_EQ(source.Damaged, row.damaged);
    }
}

// A stream open only for writing fails every read, whether the length is known or not.
TEST(AudioSource, AReadErrorMarksTheSourceDamaged) {
    fixtures::TempDir dir;
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

}  // namespace
