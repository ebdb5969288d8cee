// The Ogg Vorbis reader's clamp and its chained links, and the sweep of cut
// and changed FLAC, Ogg, WAV and AIFF files, which must never pass as whole.

#include <limits>

#include <gtest/gtest.h>

#include "InputTestSupport.h"
#include "input/SampleConversion.h"

namespace {

using namespace input_test;
using fixtures::MakeWav;
using fixtures::ShellQuote;
using std::string_literals::operator""s;
namespace fs = std::filesystem;

TEST(SampleConversion, OggClampRoundingAndGainSaturate) {
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, int16_t> rounded[] = {
        {1.0f, 32766}, {-1.0f, -32767}, {0.5f, 16384}, {-1.5f, -32767}, {inf, 32766}, {nan, 0},
    };
    for (const auto& [sample, expected] : rounded) EXPECT_EQ(VorbisFloatToInt16(sample), expected) << sample;
    // A positive gain on a loud passage must saturate, never wrap into a click.
    const std::tuple<int16_t, double, int16_t> scaled[] = {
        {32766, 0.5, 16383}, {-3, 0.5, -1}, {30000, 2.0, 32767}, {-30000, 2.0, -32768}, {100, 1e300 * 1e300, 32767},
    };
    for (const auto& [sample, factor, expected] : scaled) {
        EXPECT_EQ(ScaleVorbisSample(sample, factor), expected) << sample << " x " << factor;
    }
}

// oggdec rounds x 32768 where the reader rounds x 32767 after its clamp: at most two apart. A frame off,
// or channels swapped, is far more on a sine. Sample i of oggdec's output against read[first + i * stride].
void ExpectNearOggdec(const fixtures::TempDir& dir, const Bytes& ogg, const std::vector<int16_t>& read,
                      std::size_t first, std::size_t stride) {
    fixtures::WriteFile(dir / "link.ogg", ogg);
    const std::string command = "oggdec --quiet --raw -o " + ShellQuote((dir / "link.raw").string()) + " " +
                                ShellQuote((dir / "link.ogg").string());
    ASSERT_EQ(std::system(command.c_str()), 0);
    const Bytes raw = fixtures::ReadFile(dir / "link.raw");
    ASSERT_LE(first + (raw.size() / 2 - 1) * stride, read.size() - 1);
    for (std::size_t i = 0; i < raw.size() / 2; ++i) {
        ASSERT_NEAR(read[first + i * stride], static_cast<int16_t>(raw[2 * i] | raw[2 * i + 1] << 8), 2) << i;
    }
}

TEST(OggReader, LinksOfOtherChannelCountsKeepTheFirstLayout) {
    fixtures::TempDir dir;
    const Bytes stereo = Coded(dir, SineWav(2, 3000), kOggTool + " --serial 1"s),
                mono = Coded(dir, SineWav(1, 2000), kOggTool + " --serial 2"s);
    AudioSource source;
    ASSERT_TRUE(OpenBytes(dir, Cat({stereo, mono}), source, kSourceOgg, "chained.ogg"));
    EXPECT_EQ(source.Info.SampleCount, 5000);
    const std::vector<int16_t> read = ReadAll(source);
    ASSERT_EQ(read.size(), 5000u * 2);  // two channels
    ExpectNearOggdec(dir, stereo, read, 0, 1);
    // The mono link is heard on both sides.
    ExpectNearOggdec(dir, mono, read, 3000 * 2, 2);
    ExpectNearOggdec(dir, mono, read, 3000 * 2 + 1, 2);
    EXPECT_FALSE(source.Damaged);
}

// Every cut of a FLAC or Ogg file, or of a WAV or AIFF header, fails the open with a message or ends the data
// marked damaged, as does every changed byte of an Ogg file (its pages carry checksums). Each 1-, 2- and 4-byte
// field of the small files set to 0, 1, -2, -1 or its signed extremes in either byte order, and each changed FLAC
// byte, must open or fail cleanly: under the sanitizers, bad accesses, overflows and divisions by zero show here.
TEST(AudioSource, NoCutOrChangedFilePassesAsWhole) {
    fixtures::TempDir dir;
    fixtures::ErrorCapture errors;
    struct Swept { std::string name; Bytes file; std::size_t step; bool cutDamages, changeDamages; };
    const Swept files[] = {
        {"list.wav", Spliced(MakeWav({}, Packed({1, 2, 3, 4, 5, 6}, 2)), 12, Chunk("LIST", {'x'})), 1, false, false},
        {"float.wav", MakeWav({.formatTag = 0xFFFE, .bits = 32, .fmtSize = 40, .subFormatCode = 3},
                              Floats({0.5f, -0.5f, 1, -1})), 1, false, false},
        {"aiff.wav", Form("AIFF", {Common(2, 2, 16), Sound(Packed({1, 2, 3, 4}, 2, true))}), 1, false, false},
        {"sowt.wav", Form("AIFC", {Common(2, 2, 16, "sowt"), Sound(Packed({1, 2, 3, 4}, 2), 2)}), 1, false, false},
        {"small.flac", Coded(dir, SineWav(2, 6000), kFlacTool + " -T ARTIST=x"s), 23, true, false},
        {"small.ogg", Coded(dir, SineWav(2, 6000), kOggTool + " -c ARTIST=x"s), 13, true, true},
    };
    int caseNumber = 0;
    auto check = [&](const Swept& swept, const Bytes& file, bool mustBeDamaged, const std::string& change) {
        SCOPED_TRACE(swept.name + " " + change);
        errors.clear();
        AudioSource source;
        source.CommentMode = 2;
        // A fresh name per case: rewriting one file makes the file system flush it each time.
        const std::string name = std::to_string(++caseNumber) + swept.name;
        const bool opened = OpenBytes(dir, file, source, ClassifyPath(name), name);
        fs::remove(dir / name);
        if (!opened) {
            EXPECT_FALSE(errors.messages().empty()) << "failed without a message";
            return;
        }
        EXPECT_LE(ReadAll(source, 10).size(), 6000u * 2);
        int16_t block[2][kBlockFrames];
        EXPECT_EQ(ReadSourceBlock16(block, source), 0) << "no end";
        EXPECT_TRUE(source.Damaged || !mustBeDamaged);
    };
    // Neither a failed open nor a source dropped unclosed may leave its file open.
    auto openFiles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    const auto filesBefore = openFiles();
    for (const Swept& swept : files) {
        for (std::size_t at = 0; at < swept.file.size(); at += swept.step) {
            const bool inStream = at >= 4;  // what is cut before "fLaC" or "OggS" is nothing to read
            check(swept, Bytes(swept.file.begin(), swept.file.begin() + static_cast<std::ptrdiff_t>(at)),
                  swept.cutDamages && inStream, "cut at " + std::to_string(at));
            if (swept.step > 1) {
                Bytes changed = swept.file;
                changed[at] ^= 0x41;
                check(swept, changed, swept.changeDamages, "changed at " + std::to_string(at));
                continue;
            }
            for (int width : {1, 2, 4}) {
                const int64_t top = int64_t{1} << (8 * width - 1);
                for (int64_t value : {int64_t{0}, int64_t{1}, int64_t{-2}, int64_t{-1}, top - 1, -top}) {
                    for (bool bigEndian : {false, true}) {
                        Bytes changed = swept.file, field = Packed({value}, width, bigEndian);
                        if (at + field.size() > swept.file.size() || (bigEndian && width == 1)) continue;
                        std::copy(field.begin(), field.end(), changed.begin() + static_cast<std::ptrdiff_t>(at));
                        check(swept, changed, false, std::to_string(width) + " bytes of " + std::to_string(value));
                    }
                }
            }
        }
    }
    EXPECT_EQ(openFiles(), filesBefore);
}

}  // namespace
