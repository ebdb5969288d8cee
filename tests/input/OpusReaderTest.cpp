// The Opus reader against opusdec and the files opusenc made: length and
// layout, comments and picture, and the R128 gain. Its damage marks are in
// AudioSourceTest.

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

TEST(OpusReader, LengthLayoutTagsAndGain) {
    fixtures::TempDir dir;
    fixtures::ErrorCapture errors;
    const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 'c', 'o', 'v', 'e', 'r'};
    fixtures::WriteFile(dir / "cover.jpg", jpeg);
    const std::vector<std::string> comments = {"TITLE=T\xC3\xADtulo", "ARTIST=A", "ALBUM=B", "TRACKNUMBER=7",
                                               "DATE=2020", "GENRE=Rock"};
    std::string options = "--picture " + ShellQuote("3|image/jpeg|Front|1x1x24|" + (dir / "cover.jpg").string());
    for (const std::string& comment : comments) options += " --comment " + ShellQuote(comment);
    options += " --comment R128_TRACK_GAIN=-1541 --comment R128_ALBUM_GAIN=-2565";
    fixtures::WriteFile(dir / "mono.opus", Coded(dir, SineWav(1, 30000, 48000), kOpusTool));
    fixtures::WriteFile(dir / "three.opus", Coded(dir, SineWav(3, 30000, 48000), kOpusTool));
    fixtures::WriteFile(dir / "tagged.opus", Coded(dir, SineWav(2, 30000, 48000), kOpusTool + (" " + options)));

    // channels 0: refused. gainDb: against opusdec, which leaves the R128 gains alone.
    struct Row { std::string name; int32_t scaleMode; int channels; double gainDb; };
    const Row rows[] = {
        {"mono.opus", int32_t(ScaleModeChoice::TrackGain), 1, 0.0},  // no R128 gain: no offset either
        {"tagged.opus", int32_t(ScaleModeChoice::TrackGain), 2, -1541 / 256.0 + 5},
        {"tagged.opus", int32_t(ScaleModeChoice::AlbumGain), 2, -2565 / 256.0 + 5},
        {"three.opus", 0, 0, 0.0},
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
        EXPECT_FALSE(source.Damaged);
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
