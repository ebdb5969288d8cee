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
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <thread>

#include "app/MainWindow.h"
#include "app/SingleInstance.h"
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

void EnsureApplication() {
    static int argc = 0;
    if (!QApplication::instance()) new QApplication(argc, nullptr);
}

bool AppearsWithin(const fs::path& path, std::chrono::seconds limit = 20s) {
    for (auto waited = 0ms; waited < limit; waited += 50ms) {
        if (fs::exists(path)) return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

// Names are bytes, not necessarily UTF-8 (here Latin-1).
TEST(Program, FilesAndFoldersOnTheCommandLineAreConvertedAndASecondStartJoinsTheFirst) {
    fixtures::TempDir dir;
    fixtures::WriteSineWav(dir / "\xe9t\xe9.wav", 2205);
    fixtures::WriteSineWav(dir / "M\xfcsik" / "second.wav", 2205);
    Program first(dir.path(), {"\xe9t\xe9.wav"});
    ASSERT_TRUE(AppearsWithin(dir / "\xe9t\xe9.mp3"));
    EXPECT_TRUE(fs::exists(dir / "Quavermill.ini"));  // started by hand: the working directory
    // The second start hands its folder over and ends at once.
    Program second(dir.path(), {"M\xfcsik"});
    EXPECT_EQ(second.Wait(), 0);
    EXPECT_TRUE(AppearsWithin(dir / "M\xfcsik" / "second.mp3"));
    // Help needs no window system.
    EXPECT_EQ(Program(dir.path(), {"--version"}, {"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY="}).Wait(), 0);
}

TEST(SingleInstance, TheSocketLivesInAPrivateFolderAndOnlyOneNobodyAnswersIsReplaced) {
    EnsureApplication();
    fixtures::TempDir dir;
    setenv("TMPDIR", dir.path().c_str(), 1);
    const fs::path run = dir / "run", own = dir / ("quavermill-" + std::to_string(geteuid()));
    fs::create_directory(run);
    fs::permissions(run, fs::perms::owner_all);
    std::string problem;
    setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
    EXPECT_EQ(InstanceSocketFolder(problem), run.string());
    setenv("XDG_RUNTIME_DIR", "/tmp", 1);  // anyone may put a socket there
    EXPECT_EQ(InstanceSocketFolder(problem), own.string());
    EXPECT_EQ(fs::status(own).permissions(), fs::perms::owner_all);
    unsetenv("XDG_RUNTIME_DIR");
    fs::permissions(own, fs::perms::others_exec, fs::perm_options::add);
    EXPECT_EQ(InstanceSocketFolder(problem), "");
    EXPECT_EQ(problem, own.string() + ": other users may enter it");
    fs::permissions(own, fs::perms::owner_all);
    if (geteuid() == 0 && chown(own.c_str(), 65534, 65534) == 0) {
        EXPECT_EQ(InstanceSocketFolder(problem), "");
        EXPECT_EQ(problem, own.string() + ": owned by another user");
    }
    unsetenv("TMPDIR");

    // A killed window's socket: bound but nobody listens, so it refuses connections.
    const QString name = InstanceName(run.string(), dir.path().string());
    sockaddr_un address{AF_UNIX, {}};
    name.toStdString().copy(address.sun_path, sizeof address.sun_path - 1);
    const int dead = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(dead, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(dead);
    std::vector<std::string> received;
    InstanceServer live(name, [&](const std::vector<std::string>& paths) {
        received.insert(received.end(), paths.begin(), paths.end());
    });
    EXPECT_TRUE(live.IsListening());
    EXPECT_FALSE(InstanceServer(name, {}).IsListening());  // the live window keeps its socket
    ASSERT_TRUE(HandOverToRunningInstance(name, {"/a/\xe9.wav"}));
    for (int i = 0; i < 100 && received.empty(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(received, std::vector<std::string>{"/a/\xe9.wav"});
}

TEST(Program, TheMenuEntryKeepsTheSettingsInTheConfigFolderAndPassesTheFiles) {
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
    EnsureApplication();
    SelectErrorSink(0);
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
    const fs::path deep = fixtures::MakeFolderPastPathMax(dir / "Deep");

    FileQueue queue;
    std::vector<MessageBoxRequest> boxes;
    MainWindow window(WindowServices{&queue, QSize(1920, 1080),
                                     [&boxes](const MessageBoxRequest& box) { boxes.push_back(box); }, {}});
    // A dropped URL names the file's bytes, percent-encoded.
    window.QueueDroppedUrls({QUrl::fromEncoded("file:///nowhere/%E9t%E9%20x.wav")});
    window.QueuePaths({(albums.string() + "/"), (dir / "Empty").string(), (dir / "Deep").string()});

    std::vector<std::pair<std::string, std::string>> queued;
    for (const QueuedPath& path : queue.Paths) queued.emplace_back(path.Path, path.OutputSubfolder);
    const std::string a = albums.string();
    EXPECT_EQ(queued, (std::vector<std::pair<std::string, std::string>>{
                          {"/nowhere/\xe9t\xe9 x.wav", ""},
                          {a + "/cover.wav", "Albums"},
                          {a + "/Disc 1/2 Two.flac", "Albums/Disc 1"},
                          {a + "/Disc 1/10 Ten.wav", "Albums/Disc 1"},
                          {a + "/Disc 2/01.aif", "Albums/Disc 2"},
                          {a + "/Disc 10/1.mp3", "Albums/Disc 10"},
                      }));
    // Dropped one by one, the last file (an MP3) decides the mode.
    EXPECT_EQ(queue.DecodePending, 1);
    // The empty folder (the text file inside the album is passed over), and the one it cannot enter.
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text.toStdString(), "No audio files to convert in the folder\n" + (dir / "Empty").string());
    EXPECT_EQ(boxes[1].text.toStdString(), "Can't read the folder\n" + deep.string() + "\nFile name too long");
}

}  // namespace
