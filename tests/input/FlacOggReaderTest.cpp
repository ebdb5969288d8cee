// The FLAC and Ogg Vorbis readers: the Ogg clamp, every width and layout
// against the samples the files were made from, comments, chained links, and
// cut or damaged files, which must never pass as whole.

#include <limits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "InputTestSupport.h"
#include "input/SampleConversion.h"

namespace {

using namespace input_test;
using fixtures::MakeWav;
using fixtures::Pcm16LE;
namespace fs = std::filesystem;

TEST(SampleConversion, OggClampRoundingAndGainSaturate) {
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, int16_t> rounded[] = {
        {1.0f, 32766}, {-1.0f, -32767}, {0.5f, 16384}, {-1.5f, -32767}, {1.5f, 32766}, {0.0f, 0},
        {0.9999694f, 32766}, {-0.5f, -16384}, {0.25f, 8192}, {inf, 32766}, {-inf, -32767},
        {nan, 0},
    };
    for (const auto& [sample, expected] : rounded) EXPECT_EQ(VorbisFloatToInt16(sample), expected) << sample;
    const std::tuple<int16_t, double, int16_t> scaled[] = {
        {32766, 0.5, 16383}, {10000, 2.0, 20000}, {-3, 0.5, -1}, {30000, 2.0, 32767}, {-30000, 2.0, -32768},
        {100, 1e300 * 1e300, 32767}, {0, 1e300 * 1e300, 0},
    };
    for (const auto& [sample, factor, expected] : scaled) {
        EXPECT_EQ(ScaleVorbisSample(sample, factor), expected) << sample << " x " << factor;
    }
}

struct Made {
    fs::path path;
    std::vector<int16_t> samples;  // what the reader must give, interleaved
};

// A 16-bit FLAC or Ogg Vorbis file of a sine, from a WAV file beside it.
Made MakeCoded(const fixtures::TempDir& dir, const std::string& name, int channels, int64_t frames,
               const std::vector<std::string>& comments = {}, const std::string& options = "", int rate = 44100) {
    Made made{dir / name, fixtures::Sine16(channels, rate, frames)};
    const fs::path wav = dir / (name + ".source.wav");
    fixtures::WriteWav16(wav, channels, rate, made.samples);
    const bool flac = made.path.extension() != ".ogg";
    EXPECT_TRUE(flac ? fixtures::EncodeFlac(wav, made.path, comments, options)
                     : fixtures::EncodeOgg(wav, made.path, comments, options)) << name;
    return made;
}

TEST(FlacReader, EveryWidthAndBlockLayoutReadsTheExactSamples) {
    fixtures::TempDir dir;
    fixtures::ErrorCapture errors;
    fixtures::WriteFile(dir / "24.wav", MakeWav({.channels = 1, .bits = 24},
                                                Packed({8388607, -8388608, 256, 255, -1, -256, -257, 1000000}, 3)));
    fixtures::WriteFile(dir / "8.wav", MakeWav({.channels = 1, .bits = 8}, {0, 255, 128, 127, 1}));  // unsigned in WAV
    ASSERT_TRUE(fixtures::EncodeFlac(dir / "24.wav", dir / "24.flac"));
    ASSERT_TRUE(fixtures::EncodeFlac(dir / "8.wav", dir / "8.flac"));
    // Blocks of 4096 with a short last frame, served to 1152-frame reads.
    const Made stereo = MakeCoded(dir, "stereo.flac", 2, 4096 * 2 + 1000, {}, "--blocksize=4096");
    const Made mono = MakeCoded(dir, "mono.flac", 1, 3000);
    fixtures::WriteFile(dir / "named.wav", fixtures::ReadFile(stereo.path));
    fixtures::WriteFile(dir / "untold.flac", fixtures::WithoutFlacTotal(fixtures::ReadFile(stereo.path)));
    // Some taggers put an ID3v2 tag in front, here one of padding only.
    fixtures::WriteFile(dir / "id3.flac", Cat({Id3v2Tag(Bytes(300, 0)), fixtures::ReadFile(stereo.path)}));

    struct Row { fs::path path; std::vector<int16_t> expected; int channels; int64_t count; };
    const Row rows[] = {
        {stereo.path, stereo.samples, 2, 4096 * 2 + 1000},
        {mono.path, mono.samples, 1, 3000},
        {dir / "24.flac", {32767, -32768, 1, 0, 0, -1, -1, 3906}, 1, 8},
        {dir / "8.flac", {-32768, 32512, 0, -256, -32512}, 1, 5},
        // Read by content whatever the name says.
        {dir / "named.wav", stereo.samples, 2, 4096 * 2 + 1000},
        // 0 means the count was not written, not an empty stream.
        {dir / "untold.flac", stereo.samples, 2, kSampleCountNotGiven},
        {dir / "id3.flac", stereo.samples, 2, 4096 * 2 + 1000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path.filename().string());
        AudioSource source;
        ASSERT_TRUE(OpenPath(row.path.string(), source, ClassifyPath(row.path.string())));
        EXPECT_STREQ(source.Format->Name, "flac");
        EXPECT_EQ(source.Info.Channels, row.channels);
        EXPECT_EQ(source.Info.SampleRate, 44100);
        EXPECT_EQ(source.Info.SampleCount, row.count);
        EXPECT_EQ(ReadAll(source), row.expected);
        EXPECT_FALSE(source.Damaged);
    }
    EXPECT_THAT(errors.messages(), ::testing::IsEmpty());
}

TEST(FlacOggReader, CommentsReachTheListInStreamOrderOnlyWhenAsked) {
    fixtures::TempDir dir;
    const std::vector<std::string> comments = {"ARTIST=x", "REPLAYGAIN_TRACK_GAIN=-3.00 dB",
                                               "TITLE=\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xB5", "artist=y"};
    for (const std::string name : {"c.flac", "c.ogg", "id3.flac"}) {
        const Made made = MakeCoded(dir, name, 2, 1000, comments);
        // The comments of a stream behind an ID3v2 tag still come from the stream.
        if (name == "id3.flac") fixtures::WriteFile(made.path, Cat({Id3v2Tag(Bytes(20, 0)), fixtures::ReadFile(made.path)}));
        for (int32_t mode : {0, 1, 2}) {
            AudioSource source;
            source.CommentMode = mode;
            ASSERT_TRUE(OpenPath(made.path.string(), source, ClassifyPath(name)));
            EXPECT_EQ(std::vector<std::string>(source.Comments.Entries.begin(), source.Comments.Entries.end()),
                      mode == 2 ? comments : std::vector<std::string>{}) << name << " mode " << mode;
        }
    }
}

// oggdec rounds x 32768 where the reader rounds x 32767 after its clamp: at
// most two apart. A frame off, or channels swapped, is far more on a sine.
void ExpectNearOggdec(const fs::path& ogg, const std::vector<int16_t>& read, std::size_t count) {
    const fs::path raw = fs::path(ogg).replace_extension(".raw");
    ASSERT_EQ(std::system(("oggdec --quiet --raw -o '" + raw.string() + "' '" + ogg.string() + "'").c_str()), 0);
    const Bytes bytes = fixtures::ReadFile(raw);
    ASSERT_GE(bytes.size(), count * 2);
    ASSERT_GE(read.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto reference = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
        ASSERT_NEAR(read[i], reference, 2) << "sample " << i;
    }
}

TEST(OggReader, LinksOfOtherChannelCountsKeepTheFirstLayout) {
    fixtures::TempDir dir;
    fixtures::ErrorCapture errors;
    const Made stereo = MakeCoded(dir, "stereo.ogg", 2, 3000, {}, "--serial 1");
    const Made mono = MakeCoded(dir, "mono.ogg", 1, 2000, {}, "--serial 2");
    fixtures::WriteFile(dir / "chained.ogg", Cat({fixtures::ReadFile(stereo.path), fixtures::ReadFile(mono.path)}));
    AudioSource source;
    ASSERT_TRUE(OpenPath((dir / "chained.ogg").string(), source, kSourceOgg));
    EXPECT_EQ(source.Info.Channels, 2);
    EXPECT_EQ(source.Info.SampleCount, 5000);
    const std::vector<int16_t> read = ReadAll(source);
    ASSERT_EQ(read.size(), 5000u * 2);
    ExpectNearOggdec(stereo.path, read, 3000 * 2);
    // The mono link is heard on both sides.
    std::vector<int16_t> left, right;
    for (std::size_t i = 3000 * 2; i < read.size(); i += 2) {
        left.push_back(read[i]);
        right.push_back(read[i + 1]);
    }
    EXPECT_EQ(left, right);
    ExpectNearOggdec(mono.path, left, 2000);
    EXPECT_FALSE(source.Damaged);
    EXPECT_THAT(errors.messages(), ::testing::IsEmpty());
}

// Every cut of a FLAC or Ogg file, and of a WAV or AIFF file's header, either fails the open with a message
// or ends the data marked damaged; so does every changed byte of an Ogg file, whose pages all carry a
// checksum. Each 1-, 2- and 4-byte field of the small files at 0, 1, -2, all ones and the extremes of its
// signed range in either byte order, and a changed FLAC byte, which may fall in unchecked metadata, must
// open or fail cleanly. Under the sanitizers this is where a bad access, an overflow or a division by zero shows.
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
        {"small.flac", fixtures::ReadFile(MakeCoded(dir, "small.flac", 2, 6000, {"ARTIST=x"}, "--blocksize=1152").path),
         23, true, false},
        {"small.ogg", fixtures::ReadFile(MakeCoded(dir, "small.ogg", 2, 6000, {"ARTIST=x"}).path), 13, true, true},
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
            EXPECT_EQ(source.File, nullptr);
            EXPECT_EQ(source.Reader, nullptr);
            return;
        }
        EXPECT_LE(ReadAll(source, 10).size(), 6000u * 2);
        int16_t block[2][kBlockFrames];
        EXPECT_EQ(ReadSourceBlock16(block, source), 0) << "no end";
        if (mustBeDamaged) {
            EXPECT_TRUE(source.Damaged);
        }
    };
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
}

}  // namespace
