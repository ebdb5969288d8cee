#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

#include "settings/Settings.h"
#include "support/Fixtures.h"

using fixtures::ReadText;
using fixtures::ScopedWorkingDir;
using fixtures::TempDir;
using fixtures::WriteText;

namespace {

const char* const kDefaultFile =
    "[Quavermill]\n"
    "Window_X=64\n"
    "Window_Y=64\n"
    "AlwaysOnTop=8\n"
    "Logerr=8\n"
    "DeleteInput=0\n"
    "SetBitrate=0\n"
    "Mono=0\n"
    "Quality=1\n"
    "VBRQuality=801\n"
    "SetCBR=0\n"
    "ABRBitrate=128\n"
    "CBRBitrate=128\n"
    "TagMode=0\n"
    "AutoTag=0\n"
    "id3Tag=0\n"
    "Title=\n"
    "Artist=\n"
    "Album=\n"
    "Genre=Other\n"
    "Year=\n"
    "OutputDirMode=0\n"
    "OutputDir=\n"
    "ScaleMode=0\n";

Settings LoadText(const TempDir& dir, const std::string& text) {
    WriteText(dir / "Quavermill.ini", text);
    Settings settings;
    settings.Window_X = 12345;  // must be replaced by the defaults first
    LoadSettingsFile(settings, dir / "Quavermill.ini");
    return settings;
}

}  // namespace

TEST(SettingsFile, MissingFileIsCreatedWithTheDefaultsByteForByte) {
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    Settings settings;
    settings.Window_X = 999;
    LoadSettingsFile(settings, "Quavermill.ini");
    EXPECT_EQ(settings, Settings{});
    EXPECT_EQ(ReadText(dir / "Quavermill.ini"), kDefaultFile);
}

// Every value goes back to the file as it was read, a hand-edited switch of
// 5 or a choice of 7 included.
TEST(SettingsFile, EveryValueIsWrittenBackAsItWasRead) {
    TempDir dir;
    const std::string file =
        "[Quavermill]\nWindow_X=-40\nWindow_Y=5000\nAlwaysOnTop=0\nLogerr=1\nDeleteInput=5\nSetBitrate=8\n"
        "Mono=1\nQuality=-2\nVBRQuality=1\nSetCBR=3\nABRBitrate=150\nCBRBitrate=192\nTagMode=7\nAutoTag=8\n"
        "id3Tag=9\nTitle=  %1 (live) \nArtist=Björk = Guðmundsdóttir\nAlbum=Best of %2\nGenre=Synthpop\n"
        "Year=2001\nOutputDirMode=4\nOutputDir=/home/u/Music/out/\nScaleMode=-1\n";
    const Settings loaded = LoadText(dir, file);
    EXPECT_EQ(FormatSettings(loaded), file);
    ASSERT_TRUE(SaveSettingsFile(loaded, dir / "Quavermill.ini"));
    EXPECT_EQ(ReadText(dir / "Quavermill.ini"), file);
}

TEST(SettingsFile, ControlCharactersInATextNeverReachTheFile) {
    TempDir dir;
    Settings saved;
    saved.Title = "Live\nOutputDirMode=1";
    saved.Artist = "tab\there\r\x7F\x01é";
    saved.OutputDir = "/home/u/new\nfolder/";
    ASSERT_TRUE(SaveSettingsFile(saved, dir / "Quavermill.ini"));
    const std::string text = ReadText(dir / "Quavermill.ini");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 24);
    Settings loaded;
    LoadSettingsFile(loaded, dir / "Quavermill.ini");
    EXPECT_EQ(loaded.Title, "LiveOutputDirMode=1");
    EXPECT_EQ(loaded.Artist, "tabhereé");
    EXPECT_EQ(loaded.OutputDir, "/home/u/newfolder/");
    EXPECT_FALSE(loaded.OutputDirMode.On());
}

TEST(SettingsFile, ParsingRulesKeepTheUsersValues) {
    TempDir dir;
    const std::string seventy(70, 't');
    const std::string twoHundredFifty(250, 'd');
    Settings s = LoadText(dir,
                          "[Quavermill]\r\n"
                          "Title=" + seventy + "\r\n"
                          "Year=" + std::string(40, '9') + "\r\n"
                          "OutputDir=" + twoHundredFifty + "\r\n"
                          "Genre=\r\n"
                          "Artist=  two blanks and one = sign \r\n"
                          "Mono=1abc\r\n"
                          "SetCBR=abc\r\n"
                          "Quality=   -2\r\n"
                          "Window_X=10\r\n"
                          "Window_X=20\r\n"
                          "window_y=99\r\n"
                          " Window_Y=98\r\n"
                          "Unknown=5\r\n"
                          "ABRBitrate=99999999999\r\n");
    EXPECT_EQ(s.Title, std::string(63, 't'));
    EXPECT_EQ(s.Year, std::string(31, '9'));
    EXPECT_EQ(s.OutputDir, std::string(245, 'd'));
    EXPECT_EQ(s.Genre, "Other");  // an empty value does not match
    EXPECT_EQ(s.Artist, "  two blanks and one = sign ");
    EXPECT_EQ(s.Mono.Stored, 1);
    EXPECT_EQ(s.SetCBR, BitrateKindChoice::Average);
    EXPECT_EQ(static_cast<int32_t>(s.Quality), -2);
    EXPECT_EQ(s.Window_X, 20);
    EXPECT_EQ(s.Window_Y, 64);
    EXPECT_EQ(s.ABRBitrate, INT32_MAX);
}

TEST(SettingsFile, AnotherFirstLineKeepsEveryDefaultAndTheFile) {
    TempDir dir;
    const std::string other = "[Other]\nWindow_X=5\n";
    EXPECT_EQ(LoadText(dir, other), Settings{});
    EXPECT_EQ(ReadText(dir / "Quavermill.ini"), other);
    EXPECT_EQ(LoadText(dir, ""), Settings{});
}

TEST(SettingsFile, LongLinesAreReadInPiecesAndCutsNeverSplitACharacter) {
    TempDir dir;
    // The second 255-byte piece of this line starts with a key, so it matches.
    EXPECT_EQ(LoadText(dir, "[Quavermill]\n" + std::string(255, '#') + "Mono=1\n").Mono.Stored, 1);
    // 62 ASCII bytes then a two-byte character: 64 bytes, over the 63 limit.
    EXPECT_EQ(LoadText(dir, "[Quavermill]\nTitle=" + std::string(62, 'a') + "é\n").Title, std::string(62, 'a'));
    EXPECT_EQ(CutUtf8("a€b", 3), "a");     // € is three bytes
    EXPECT_EQ(CutUtf8("a€b", 4), "a€");
    EXPECT_EQ(CutUtf8("😀😀", 7), "😀");    // four-byte characters
}

TEST(SettingsFile, OutputDirModeZeroForgetsTheFolder) {
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    WriteText(dir / "Quavermill.ini", "[Quavermill]\nOutputDirMode=0\nOutputDir=/tmp/once/\n");
    Settings settings;
    LoadSettingsFile(settings, "Quavermill.ini");
    EXPECT_EQ(settings.OutputDir, "/tmp/once/");
    ForgetRunOnlyOutputDir(settings);
    EXPECT_EQ(settings.OutputDir, "");
    SaveSettingsFile(settings, "Quavermill.ini");
    EXPECT_NE(ReadText(dir / "Quavermill.ini").find("\nOutputDir=\n"), std::string::npos);
}

TEST(SettingsFile, ASavedFileKeepsThePermissionsOfTheOldOne) {
    // 0: no old file, which gets what the umask gives any new file.
    for (const mode_t old_mode : {0, 0600, 0664}) {
        SCOPED_TRACE(old_mode);
        TempDir dir;
        if (old_mode != 0) {
            WriteText(dir / "Quavermill.ini", "[Quavermill]\n");
            chmod((dir / "Quavermill.ini").c_str(), old_mode);
        }
        const mode_t previous = umask(022);
        ASSERT_TRUE(SaveSettingsFile(Settings{}, dir / "Quavermill.ini"));
        umask(previous);
        EXPECT_EQ(ReadText(dir / "Quavermill.ini"), kDefaultFile);
        struct stat info {};
        ASSERT_EQ(stat((dir / "Quavermill.ini").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, old_mode != 0 ? old_mode : 0644u);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left
    }
}

TEST(SettingsFile, ASymlinkedFileIsReplacedAtTheEndOfItsLinks) {
    namespace fs = std::filesystem;
    TempDir dir;
    fs::create_directory(dir / "dotfiles");
    WriteText(dir / "dotfiles" / "quavermill.ini", "[Quavermill]\n");
    // An absolute link to a relative one, each read against its own folder.
    fs::create_symlink("dotfiles/quavermill.ini", dir / "relative.ini");
    fs::create_symlink(dir / "relative.ini", dir / "Quavermill.ini");
    fs::create_symlink("dotfiles/not-yet.ini", dir / "dangling.ini");
    fs::create_symlink("loop-b.ini", dir / "loop-a.ini");
    fs::create_symlink("loop-a.ini", dir / "loop-b.ini");
    Settings changed;
    changed.Mono = DialogSwitch(true);
    ASSERT_TRUE(SaveSettingsFile(changed, dir / "Quavermill.ini"));
    EXPECT_EQ(ReadText(dir / "dotfiles" / "quavermill.ini"), FormatSettings(changed));
    ASSERT_TRUE(SaveSettingsFile(changed, dir / "dangling.ini"));
    EXPECT_EQ(ReadText(dir / "dotfiles" / "not-yet.ini"), FormatSettings(changed));
    EXPECT_FALSE(SaveSettingsFile(changed, dir / "loop-a.ini"));
    for (const char* link : {"Quavermill.ini", "relative.ini", "dangling.ini", "loop-a.ini", "loop-b.ini"})
        EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 6);  // no temporary left
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "dotfiles"), {}), 2);
}

TEST(SettingsFile, ARefusedOrFailedSaveKeepsTheOldFile) {
    const std::string old_text = "[Quavermill]\nMono=1\n";
    const auto expect_kept = [&](mode_t file_mode, mode_t folder_mode) {
        SCOPED_TRACE(testing::Message() << std::oct << file_mode << " in " << folder_mode);
        TempDir dir;
        WriteText(dir / "Quavermill.ini", old_text);
        chmod((dir / "Quavermill.ini").c_str(), file_mode);
        chmod(dir.path().c_str(), folder_mode);
        EXPECT_FALSE(SaveSettingsFile(Settings{}, dir / "Quavermill.ini"));
        chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(ReadText(dir / "Quavermill.ini"), old_text);
        struct stat info {};
        ASSERT_EQ(stat((dir / "Quavermill.ini").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, file_mode);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left
    };
    // Read-only for everyone: the user does not want it written, and root,
    // whom the kernel would let write it, leaves it alone too.
    expect_kept(0444, 0755);
    {
        // A folder in the way of the rename.
        TempDir dir;
        std::filesystem::create_directory(dir / "Quavermill.ini");
        EXPECT_FALSE(SaveSettingsFile(Settings{}, dir / "Quavermill.ini"));
        EXPECT_TRUE(std::filesystem::is_directory(dir / "Quavermill.ini"));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
    if (geteuid() == 0) GTEST_SKIP() << "root may write what only the permissions below forbid";
    expect_kept(0466, 0755);  // others may write it, its owner may not
    expect_kept(0644, 0555);  // no room for the temporary file
}
