#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <tuple>

#include "settings/EncodeOptions.h"
#include "settings/Settings.h"

// Every field reaches the encode job at start, each in its own place; a
// start-up that forgot one would encode with the default instead.
TEST(EncodeOptions, ApplySettingsCopiesEveryFieldWithTheQualityMap) {
    Settings s{0, 0, 8, 8, 8, 1, 2, 1, 101, 3, 150, 192, 4, 5, 6, "t", "a", "b", "Rock", "1999", 1, "/out/", 7};
    const int32_t choices[][2] = {{0, 2}, {1, 3}, {2, 7}, {5, 5}, {-1, -1}};
    for (const auto& [choice, engine] : choices) {
        s.Quality = choice;
        ApplySettingsToJobs(s);
        EXPECT_EQ(SnapshotEncodeOptions().Quality, engine) << "choice " << choice;
    }
    EncodeOptions o = SnapshotEncodeOptions();
    EXPECT_EQ(std::tie(o.SetBitrate, o.Mono, o.SetCBR, o.ABRBitrate, o.CBRBitrate, o.TagMode, o.ScaleMode, o.AutoTag,
                       o.id3Tag, o.DeleteInput),
              std::make_tuple(1, 2, 3, 150, 192, 4, 7, 5, 6, 8));
    EXPECT_FLOAT_EQ(o.VBRQuality, 101.0f);
    EXPECT_EQ(std::tie(o.Title, o.Artist, o.Album, o.Genre, o.Year),
              std::make_tuple("t", "a", "b", "Rock", "1999"));
    EXPECT_EQ(ActiveOutputDir(), "/out/");  // mode 0: SettingsFile.OutputDirModeZeroForgetsTheFolder
}

TEST(EncodeOptions, AJobTakesOneTrailingSlashOffTheStoredDirectory) {
    SetActiveOutputDir("/out//");
    EXPECT_EQ(TakeActiveOutputDirForJob(), "/out/");
    EXPECT_EQ(ActiveOutputDir(), "/out/");
    EXPECT_EQ(TakeActiveOutputDirForJob(), "/out");
    EXPECT_EQ(TakeActiveOutputDirForJob(), "/out");
    SetActiveOutputDir("/");
    EXPECT_EQ(TakeActiveOutputDirForJob(), "");
    SetActiveOutputDir("");
}

TEST(EncodeOptions, ASnapshotNeverMixesTwoChanges) {
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) {
            std::string text(1 + i % 200, static_cast<char>('a' + i % 26));
            SetEncodeTitle(text);
        }
        done = true;
    });
    // At least one snapshot is checked even when the writer finishes first.
    bool mixed = false;
    do {
        const std::string title = SnapshotEncodeOptions().Title;
        for (char c : title) mixed = mixed || c != title.front();
    } while (!done && !mixed);
    writer.join();
    EXPECT_FALSE(mixed);
}
