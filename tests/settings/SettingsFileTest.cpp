#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

#include "settings/Settings.h"
#include "support/Fixtures.h"

using fixtures::ReadText;
using fixtures::ScopedWorkingDir;
using fixtures::TempDir;
using fixtures::WriteText;
namespace fs = std::filesystem;

namespace {

// The file a first start writes, byte for byte.
const char* const kDefaultFile =
    "[Quavermill]\nWindow_X=64\nWindow_Y=64\nAlwaysOnTop=8\nLogerr=8\nDeleteInput=0\n"
    "SetBitrate=0\nMono=0\nQuality=1\nVBRQuality=801\nSetCBR=0\nABRBitrate=128\nCBRBitrate=128\n"
    "TagMode=0\nAutoTag=0\nid3Tag=0\nTitle=\nArtist=\nAlbum=\nGenre=Other\nYear=\n"
    "OutputDirMode=0\nOutputDir=\nScaleMode=0\n";

Settings LoadText(const TempDir& dir, const std::string& text) {
    WriteText(dir / "Quavermill.ini", text);
    Settings settings;
    settings.Window_X = 12345;  // must be replaced by the defaults first
    LoadSettingsFile(settings, dir / "Quavermill.ini");
    return settings;
}

}  // namespace

TEST(SettingsFile, MissingFileIsCreatedWithTheDefaultsAndAnotherFirstLineKeepsTheFile) {
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    Settings settings;
    settings.Window_X = 999;
    LoadSettingsFile(settings, "Quavermill.ini");
    EXPECT_EQ(settings, Settings{});
    EXPECT_EQ(ReadText(dir / "Quavermill.ini"), kDefaultFile);
    const std::string other = "[Other]\nWindow_X=5\n";
    EXPECT_EQ(LoadText(dir, other), Settings{});
    EXPECT_EQ(ReadText(dir / "Quavermill.ini"), other);
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
    Settings loaded = LoadText(dir, file);
    ForgetRunOnlyOutputDir(loaded);  // OutputDirMode 4 keeps the folder
    EXPECT_EQ(FormatSettings(loaded), file);
    ASSERT_TRUE(SaveSettingsFile(loaded, dir / "Quavermill.ini"));
    EXPECT_EQ(ReadText(dir / "Quavermill.ini"), file);
}

// A line break in a text once ended its line early, and the rest read back as
// a key of its own.
TEST(SettingsFile, ControlCharactersInATextNeverReachTheFile) {
    TempDir dir;
    Settings saved;
    saved.Title = "Live\nOutputDirMode=1";
    saved.Artist = "tab\there\r\x7F\x01é";
    ASSERT_TRUE(SaveSettingsFile(saved, dir / "Quavermill.ini"));
    const Settings loaded = LoadText(dir, ReadText(dir / "Quavermill.ini"));
    EXPECT_EQ(std::make_tuple(loaded.Title, loaded.Artist, loaded.OutputDirMode.On()),
              std::make_tuple("LiveOutputDirMode=1", "tabhereé", false));
}

// Texts are cut at their limits, never inside a character: 62 ASCII bytes and
// a two-byte one are over the title's 63.
TEST(SettingsFile, ParsingRulesKeepTheUsersValues) {
    TempDir dir;
    Settings s = LoadText(dir, "[Quavermill]\r\nTitle=" + std::string(62, 't') + "é\r\nYear=" + std::string(40, '9') +
                                   "\r\nOutputDir=" + std::string(250, 'd') + "\r\nGenre=\r\n"
                                   "Artist=  two blanks and one = sign \r\nMono=1abc\r\nSetCBR=abc\r\nQuality=   -2\r\n"
                                   "Window_X=10\r\nWindow_X=20\r\nwindow_y=99\r\n Window_Y=98\r\n"
                                   "ABRBitrate=99999999999\r\n");
    EXPECT_EQ(s.Title, std::string(62, 't'));
    EXPECT_EQ(s.Year, std::string(31, '9'));
    EXPECT_EQ(s.OutputDir, std::string(245, 'd'));  // OutputDirMode 0: read, then forgotten at the start
    ForgetRunOnlyOutputDir(s);
    EXPECT_EQ(s.OutputDir, "");
    EXPECT_EQ(s.Genre, "Other");  // an empty value does not match
    EXPECT_EQ(s.Artist, "  two blanks and one = sign ");
    EXPECT_EQ(std::make_tuple(s.Mono.Stored, s.SetCBR, static_cast<int32_t>(s.Quality), s.Window_X, s.Window_Y,
                              s.ABRBitrate),
              std::make_tuple(1, BitrateKindChoice::Average, -2, 20, 64, INT32_MAX));
}

// A save replaces the file whole, with the old file's permissions (a private
// 0600 once became readable by others); a file the user may not write, or a
// folder without room for the temporary file, keeps the old file as it was.
TEST(SettingsFile, ASaveKeepsTheOldPermissionsOrTheWholeOldFile) {
    const std::string old_text = "[Quavermill]\nMono=1\n";
    struct Case { mode_t fileMode, folderMode; bool saved; };  // file mode 0: no old file
    const Case cases[] = {{0, 0755, true}, {0600, 0755, true}, {0640, 0755, true},
                          // Read-only for everyone: root, whom the kernel would let write it, leaves it alone too.
                          {0444, 0755, false}, {0466, 0755, false}, {0644, 0555, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.fileMode << " in " << c.folderMode);
        if (geteuid() == 0 && !c.saved && c.fileMode != 0444) continue;  // root may write what these forbid
        TempDir dir;
        const fs::path ini = dir / "Quavermill.ini";
        if (c.fileMode != 0) {
            WriteText(ini, old_text);
            chmod(ini.c_str(), c.fileMode);
        }
        chmod(dir.path().c_str(), c.folderMode);
        const mode_t previous = umask(022);
        EXPECT_EQ(SaveSettingsFile(Settings{}, ini), c.saved);
        umask(previous);
        chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(ReadText(ini), c.saved ? kDefaultFile : old_text);
        EXPECT_EQ(fs::status(ini).permissions(), fs::perms(c.fileMode != 0 ? c.fileMode : 0644));
        EXPECT_EQ(fixtures::NamesIn(dir.path()).size(), 1u);  // no temporary left
    }
    TempDir dir;  // a folder in the way of the rename
    fs::create_directory(dir / "Quavermill.ini");
    EXPECT_FALSE(SaveSettingsFile(Settings{}, dir / "Quavermill.ini"));
    EXPECT_TRUE(fs::is_directory(dir / "Quavermill.ini"));
    EXPECT_EQ(fixtures::NamesIn(dir.path()).size(), 1u);
    // A write that breaks off (a full disk; here the file size limit) leaves the old file whole.
    WriteText(dir / "cut.ini", old_text);
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    const struct rlimit small {8, limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_FALSE(SaveSettingsFile(Settings{}, dir / "cut.ini"));
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(ReadText(dir / "cut.ini"), old_text);
    EXPECT_EQ(fixtures::NamesIn(dir.path()).size(), 2u);
}

// The rename once replaced the link itself, so a file kept elsewhere and linked in became a plain file.
TEST(SettingsFile, ASymlinkedFileIsReplacedAtTheEndOfItsLinks) {
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
    EXPECT_EQ(fixtures::NamesIn(dir.path()).size(), 6u);  // no temporary left
    EXPECT_EQ(fixtures::NamesIn(dir / "dotfiles").size(), 2u);
}

// Fix: a Quavermill.ini that another user left in /tmp chose the output folder and had the inputs deleted, and
// Exit wrote through another user's link in /tmp to the file it named. Owners are stood in for, as by chown.
TEST(SettingsFile, OnlyAFileNobodyElseCouldHaveWrittenIsReadOrSaved) {
    constexpr uid_t kUser = 1000, kRoot = 0, kOther = 1001, kNoLink = 99999;
    // The folder holds the file, or a link to it in the user's own folder.
    const struct { uid_t fileOwner; mode_t fileMode; uid_t folderOwner; mode_t folderMode; uid_t linkOwner; bool trusted; }
        rows[] = {
            {kUser, 0644, kUser, 0755, kNoLink, true},    {kRoot, 0644, kRoot, 0755, kNoLink, true},
            {kOther, 0644, kUser, 0755, kNoLink, false},  {kUser, 0646, kUser, 0755, kNoLink, false},
            {kUser, 0664, kUser, 0755, kNoLink, false},   {kUser, 0644, kOther, 0755, kNoLink, false},
            {kUser, 0644, kUser, 0777, kNoLink, false},   {kUser, 0644, kRoot, 01777, kNoLink, true},
            {kOther, 0644, kRoot, 01777, kNoLink, false}, {kRoot, 0644, kRoot, 01777, kNoLink, false},
            {kUser, 0644, kRoot, 01777, kUser, true},     {kUser, 0644, kRoot, 01777, kOther, false},
            {kUser, 0644, kUser, 0755, kOther, false},    {kOther, 0644, kUser, 0755, kUser, false},
        };
    const std::string planted = "[Quavermill]\nDeleteInput=8\nOutputDirMode=1\nOutputDir=/elsewhere/\n";
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        TempDir dir;
        std::map<ino_t, uid_t> owner;
        const auto make = [&owner](const fs::path& path, uid_t uid, mode_t mode) {
            if (mode != 0) chmod(path.c_str(), mode);
            struct stat info {};
            lstat(path.c_str(), &info);
            owner[info.st_ino] = uid;
        };
        const fs::path folder = dir / "folder", ini = folder / "Quavermill.ini";
        const fs::path file = row.linkOwner != kNoLink ? dir / "home.ini" : ini;
        fs::create_directories(folder);
        WriteText(file, planted);
        make(file, row.fileOwner, row.fileMode);
        make(folder, row.folderOwner, row.folderMode);
        if (file != ini) {
            fs::create_symlink(file, ini);
            make(ini, row.linkOwner, 0);
        }
        const FileOwners owners{kUser, [&owner](const struct stat& info) {
                                    return owner.contains(info.st_ino) ? owner.at(info.st_ino) : kUser;
                                }};
        Settings settings;
        EXPECT_EQ(LoadSettingsFile(settings, ini, true, owners).empty(), row.trusted);
        EXPECT_EQ(settings.DeleteInput.On(), row.trusted);
        EXPECT_EQ(SaveSettingsFile(Settings{}, ini, owners), row.trusted);
        EXPECT_EQ(ReadText(file) == planted, !row.trusted);
    }
}
