// The desktop program as a user starts it: with files and folders on its
// command line, from the menu entry, and a second time while it runs.

#include <gtest/gtest.h>

#include <QApplication>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "app/MainWindow.h"
#include "queue/DroppedPaths.h"
#include "settings/ErrorReport.h"
#include "settings/Settings.h"
#include "settings/SettingsFolder.h"
#include "support/Fixtures.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The program, started offscreen in `folder` with `arguments`; env(1) sets the
// folder and `environment` for it alone, and keeps the process id.
class Program {
public:
    Program(const fs::path& folder, const std::vector<std::string>& arguments,
            const std::vector<std::string>& environment = {}) {
        std::vector<std::string> texts = {"env", "-C", folder.string(), "QT_QPA_PLATFORM=offscreen"};
        texts.insert(texts.end(), environment.begin(), environment.end());
        texts.push_back(QM_APP_PATH);
        texts.insert(texts.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& text : texts) argv.push_back(text.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, "/usr/bin/env", &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Program() { Stop(); }

    // Waits (bounded) for the program to end by itself; its exit status, or -1.
    int Wait(std::chrono::seconds limit = 20s) {
        for (auto waited = 0ms; pid_ > 0 && waited < limit; waited += 50ms) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(50ms);
        }
        return -1;
    }
    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

bool AppearsWithin(const fs::path& path, std::chrono::seconds limit = 20s) {
    for (auto waited = 0ms; waited < limit; waited += 50ms) {
        if (fs::exists(path)) return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

TEST(Program, FilesAndFoldersOnTheCommandLineAreConvertedAndASecondStartJoinsTheFirst) {
    fixtures::TempDir dir;
    fixtures::WriteSineWav(dir / "first.wav", 2205);
    fixtures::WriteSineWav(dir / "later" / "second.wav", 2205);
    Program first(dir.path(), {"first.wav"});
    ASSERT_TRUE(AppearsWithin(dir / "first.mp3"));
    EXPECT_TRUE(fs::exists(dir / "Quavermill.ini"));  // started by hand: the working directory
    // The second start hands its folder over and ends at once.
    Program second(dir.path(), {"later"});
    EXPECT_EQ(second.Wait(), 0);
    EXPECT_TRUE(AppearsWithin(dir / "later" / "second.mp3"));
}

TEST(Program, TheMenuEntryKeepsTheSettingsInTheConfigFolderAndPassesTheFiles) {
    const std::string entry = fixtures::ReadText(fs::path(QM_SOURCE_DIR) / "resources" / "quavermill.desktop.in");
    EXPECT_NE(entry.find("\nExec=quavermill --desktop %F\n"), std::string::npos);

    fixtures::TempDir home;
    fixtures::WriteSineWav(home / "Music" / "song.wav", 2205);
    Program program(home.path(), {"--desktop", (home / "Music" / "song.wav").string()},
                    {"HOME=" + home.path().string(), "XDG_CONFIG_HOME=" + (home / "config").string()});
    ASSERT_TRUE(AppearsWithin(home / "Music" / "song.mp3"));
    EXPECT_TRUE(fs::exists(home / "config" / "quavermill" / "Quavermill.ini"));
    EXPECT_FALSE(fs::exists(home / "Quavermill.ini"));
}

TEST(SettingsFolder, TheConfigFolderFollowsTheXdgRules) {
    const char* savedHome = std::getenv("HOME");
    const std::string home = savedHome ? savedHome : "";
    struct Case {
        const char* xdg;  // null: unset
        std::string expected;
    } cases[] = {
        {"/x/conf", "/x/conf/quavermill"},
        {"/x/conf/", "/x/conf/quavermill"},
        {nullptr, home + "/.config/quavermill"},
        {"", home + "/.config/quavermill"},
        {"relative/conf", home + "/.config/quavermill"},  // a relative value is to be ignored
    };
    for (const Case& c : cases) {
        c.xdg ? setenv("XDG_CONFIG_HOME", c.xdg, 1) : unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(DesktopSettingsFolder(), c.expected) << (c.xdg ? c.xdg : "unset");
    }
    unsetenv("XDG_CONFIG_HOME");
    SetSettingsFolder("/x/conf/quavermill");
    EXPECT_EQ(SettingsFilePath("Quavermill.log"), "/x/conf/quavermill/Quavermill.log");
    SetSettingsFolder("");
    EXPECT_EQ(SettingsFilePath("Quavermill.log"), "Quavermill.log");
}

TEST(FolderDrop, AFoldersFilesJoinInNaturalOrderWithTheirPlaceBelowTheOutputFolder) {
    static int argc = 0;
    if (!QApplication::instance()) new QApplication(argc, nullptr);
    fixtures::TempDir dir;
    const fs::path albums = dir / "Albums";
    for (const char* name : {"Disc 1/10 Ten.wav", "Disc 1/2 Two.flac", "Disc 1/notes.txt", "Disc 10/1.mp3",
                             "Disc 2/01.aif", "cover.wav", ".hidden/x.wav", "Disc 2/.y.wav"}) {
        fs::create_directories((albums / name).parent_path());
        fixtures::WriteText(albums / name, "x");
    }
    fs::create_directory_symlink(albums / "Disc 2", albums / "Disc 3");  // never followed
    fs::create_directories(dir / "Empty" / "sub");
    fixtures::WriteText(dir / "Empty" / "sub" / "readme.txt", "x");

    std::vector<QueuedFile> files;
    ASSERT_EQ(CollectDroppedPath(albums.string() + "/", files), DropOutcome::Queued);
    std::vector<std::pair<std::string, std::string>> queued;
    for (const QueuedFile& file : files) queued.emplace_back(file.Path, file.OutputSubfolder);
    const std::string a = albums.string();
    EXPECT_EQ(queued, (std::vector<std::pair<std::string, std::string>>{
                          {a + "/cover.wav", "Albums"},
                          {a + "/Disc 1/2 Two.flac", "Albums/Disc 1"},
                          {a + "/Disc 1/10 Ten.wav", "Albums/Disc 1"},
                          {a + "/Disc 2/01.aif", "Albums/Disc 2"},
                          {a + "/Disc 10/1.mp3", "Albums/Disc 10"},
                      }));
    // Dropped one by one, the last file (an MP3) decides the mode.
    EXPECT_EQ(files.back().Mode, QueueMode::Decode);
    Settings settings;
    std::vector<MessageBoxRequest> boxes;
    WindowServices services = DefaultWindowServices(settings);
    services.showMessageBox = [&boxes](const MessageBoxRequest& box) { boxes.push_back(box); };
    MainWindow window(services);
    window.QueuePaths({albums.string(), (dir / "Empty").string()});
    ASSERT_EQ(boxes.size(), 1u);  // the empty folder; the text file inside the album is passed over
    EXPECT_EQ(boxes[0].text.toStdString(), "No audio files to convert in the folder\n" + (dir / "Empty").string());
}

}  // namespace
