// The Opus reader against opusdec and the files opusenc made: length and
// layout, comments and picture, the R128 gain, and cut or damaged files.

#include <cmath>
#include <cstring>
#include <numeric>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "InputTestSupport.h"
#include "settings/Settings.h"

namespace {

using namespace input_test;
using ::testing::Contains;
using ::testing::StartsWith;
namespace fs = std::filesystem;
using fixtures::ShellQuote;

// Interleaved 16-bit samples as opusdec gives them at 48 kHz.
std::vector<int16_t> Opusdec(const fs::path& opus) {
    const fs::path raw = fs::path(opus).replace_extension(".raw");
    EXPECT_EQ(std::system(("opusdec --quiet --rate 48000 " + ShellQuote(opus) + " " + ShellQuote(raw)).c_str()), 0);
    const Bytes bytes = fixtures::ReadFile(raw);
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);  // little-endian, as this machine
    return samples;
}

double LevelDb(const std::vector<int16_t>& samples) {
    return 10 * std::log10(std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0) / samples.size());
}

// Where page `index` of an Ogg file starts.
std::size_t PageStart(const Bytes& ogg, int index) {
    std::size_t at = 0;
    while (index-- > 0) at += 27 + ogg[at + 26] + std::accumulate(&ogg[at + 27], &ogg[at + 27 + ogg[at + 26]], 0u);
    return at;
}

// A sine of 30000 frames at 48 kHz, in pages of a few packets.
fs::path Encode(const fixtures::TempDir& dir, const std::string& name, int channels, const std::string& options = "") {
    const fs::path wav = dir / (name + ".wav");
    fixtures::WriteWav16(wav, channels, 48000, fixtures::Sine16(channels, 48000, 30000));
    const std::string command = "opusenc --quiet --max-delay 10 " + options + " " + ShellQuote(wav.string()) + " " +
                                ShellQuote((dir / name).string());
    EXPECT_EQ(std::system(command.c_str()), 0) << name;
    return dir / name;
}

TEST(OpusReader, LengthLayoutTagsGainAndDamage) {
    fixtures::TempDir dir;
    fixtures::ErrorCapture errors;
    const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 'c', 'o', 'v', 'e', 'r'};
    fixtures::WriteFile(dir / "cover.jpg", jpeg);
    const std::vector<std::string> comments = {"TITLE=T\xC3\xADtulo", "ARTIST=A", "ALBUM=B", "TRACKNUMBER=7",
                                               "DATE=2020", "GENRE=Rock"};
    std::string options = "--picture " + ShellQuote("3|image/jpeg|Front|1x1x24|" + (dir / "cover.jpg").string());
    for (const std::string& comment : comments) options += " --comment " + ShellQuote(comment);
    options += " --comment R128_TRACK_GAIN=-1541 --comment R128_ALBUM_GAIN=-2565";
    Encode(dir, "mono.opus", 1);
    Encode(dir, "three.opus", 3);
    const Bytes whole = fixtures::ReadFile(Encode(dir, "tagged.opus", 2, options));
    Bytes changed = whole;
    changed[PageStart(whole, 2) + 40] ^= 0x41;  // the first audio page, which libopusfile passes over
    fixtures::WriteFile(dir / "cut.opus", Bytes(whole.begin(), whole.begin() + std::ssize(whole) * 2 / 3));
    fixtures::WriteFile(dir / "changed.opus", changed);

    // channels 0: refused. gainDb: against opusdec, which leaves the R128 gains alone.
    struct Row { std::string name; int32_t scaleMode; int channels; double gainDb; bool damaged; };
    const Row rows[] = {
        {"mono.opus", 0, 1, 0.0, false},
        {"mono.opus", int32_t(ScaleModeChoice::TrackGain), 1, 0.0, false},  // no R128 gain: no offset either
        {"tagged.opus", 0, 2, 0.0, false},
        {"tagged.opus", int32_t(ScaleModeChoice::TrackGain), 2, -1541 / 256.0 + 5, false},
        {"tagged.opus", int32_t(ScaleModeChoice::AlbumGain), 2, -2565 / 256.0 + 5, false},
        {"three.opus", 0, 0, 0.0, false},
        {"cut.opus", 0, 2, 0.0, true},
        {"changed.opus", 0, 2, 0.0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name + " scaled " + std::to_string(row.scaleMode));
        AudioSource source;
        source.ScaleMode = row.scaleMode;
        source.CommentMode = kCommentModeHandOver;
        ASSERT_TRUE(IsEncodeSource(ClassifyPath(row.name)));
        ASSERT_EQ(OpenPath((dir / row.name).string(), source, ClassifyPath(row.name)), row.channels > 0);
        if (row.channels == 0) continue;
        EXPECT_EQ(source.Info.Channels, row.channels);
        EXPECT_EQ(source.Info.SampleRate, 48000);
        const std::vector<int16_t> read = ReadAll(source);
        EXPECT_EQ(source.Damaged, row.damaged);
        if (row.damaged) continue;
        const std::vector<int16_t> reference = Opusdec(dir / row.name);
        EXPECT_EQ(source.Info.SampleCount * row.channels, std::ssize(reference));
        ASSERT_EQ(read.size(), reference.size());
        EXPECT_NEAR(LevelDb(read) - LevelDb(reference), row.gainDb, 0.01);
        if (row.name != "tagged.opus") continue;
        for (const std::string& comment : comments) EXPECT_THAT(source.Comments.Entries, Contains(comment));
        EXPECT_THAT(source.Comments.Entries, Not(Contains(StartsWith("METADATA_BLOCK_PICTURE"))));
        ASSERT_EQ(source.Comments.Pictures.size(), 1u);
        EXPECT_EQ(source.Comments.Pictures[0].Data, std::vector<uint8_t>(jpeg.begin(), jpeg.end()));
    }
}

}  // namespace
