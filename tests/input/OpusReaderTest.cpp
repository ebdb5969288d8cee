// The Opus reader against the sine opusenc was given: length and layout, comments and picture, and the
// R128 gain. Its damage marks are in AudioSourceTest.

#include <cmath>
#include <numeric>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "InputTestSupport.h"
#include "settings/Settings.h"

namespace {

using namespace input_test;
using ::testing::Contains;
using fixtures::ShellQuote;

TEST(OpusReader, LengthLayoutTagsAndGain) {
    fixtures::TempDir dir;
    const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 'c', 'o', 'v', 'e', 'r'};
    fixtures::WriteFile(dir / "cover.jpg", jpeg);
    const std::vector<std::string> comments = {"TITLE=T\xC3\xADtulo", "ARTIST=A", "TRACKNUMBER=7"};
    std::string options = " --picture " + ShellQuote("3|image/jpeg|Front|1x1x24|" + (dir / "cover.jpg").string());
    for (const std::string& comment : comments) options += " --comment " + ShellQuote(comment);
    options += " --comment R128_TRACK_GAIN=-1541 --comment R128_ALBUM_GAIN=-2565";
    fixtures::WriteFile(dir / "mono.opus", Coded(dir, SineWav(1, 30000, 48000), kOpusTool));
    fixtures::WriteFile(dir / "tagged.opus", Coded(dir, SineWav(2, 30000, 48000), kOpusTool + options));

    // The gain against the sine itself: 5 dB above the R128 gain, which aims lower than ReplayGain.
    struct Row { std::string name; ScaleModeChoice scaleMode; int channels; double gainDb; };
    const Row rows[] = {
        {"mono.opus", ScaleModeChoice::TrackGain, 1, 0.0},  // no R128 gain: no offset either
        {"tagged.opus", ScaleModeChoice::TrackGain, 2, -1541 / 256.0 + 5},
        {"tagged.opus", ScaleModeChoice::AlbumGain, 2, -2565 / 256.0 + 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name + " scaled " + std::to_string(int(row.scaleMode)));
        AudioSource source;
        ASSERT_TRUE(OpenPath((dir / row.name).string(), source, {.WantComments = true, .Scaling = row.scaleMode}));
        EXPECT_EQ(source.Info.Channels, row.channels);
        EXPECT_EQ(source.Info.SampleRate, 48000);
        EXPECT_EQ(source.Info.SampleCount, 30000);
        const std::vector<int16_t> read = ReadAll(source);
        EXPECT_FALSE(source.Damaged());
        ASSERT_EQ(std::ssize(read), 30000 * row.channels);
        EXPECT_NEAR(LevelDb(read) - LevelDb(fixtures::Sine16(row.channels, 48000, 30000)), row.gainDb, 0.05);
        if (row.name != "tagged.opus") continue;
        for (const std::string& comment : comments) EXPECT_THAT(source.Reader->Comments().Entries, Contains(comment));
        ASSERT_EQ(source.Reader->Comments().Pictures.size(), 1u);
        EXPECT_EQ(source.Reader->Comments().Pictures[0].Data, std::vector<uint8_t>(jpeg.begin(), jpeg.end()));
    }
}

}  // namespace
