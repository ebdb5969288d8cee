// The desktop program as a user starts it: with files and folders on its
// command line, from the menu entry, and a second time while it runs; and
// what it tells the desktop.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "app/FailureNotice.h"
#include "app/Translations.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "settings/SettingsFolder.h"
#include "support/Fixtures.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The program offscreen in `folder`, given up after 20 s; `environment`
// holds NAME=value shell words for it alone.
std::string ProgramCommand(const fs::path& folder, const std::vector<std::string>& arguments,
                           const std::string& environment = "") {
    std::string command = "cd " + fixtures::ShellQuote(folder.string()) + " && QT_QPA_PLATFORM=offscreen " +
                          environment + " exec timeout 20 " + fixtures::ShellQuote(QM_APP_PATH);
    for (const std::string& argument : arguments) command += " " + fixtures::ShellQuote(argument);
    return command + " >/dev/null 2>&1";
}

int RunProgram(const fs::path& folder, const std::vector<std::string>& arguments, const std::string& environment = "") {
    const int raw = std::system(ProgramCommand(folder, arguments, environment).c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// A window left running until the end of the test.
struct RunningProgram {
    explicit RunningProgram(const std::string& command) {
        if (FILE* shell = popen(("(" + command + ") & echo $!").c_str(), "r")) {
            if (std::fscanf(shell, "%d", &pid) != 1) pid = -1;
            pclose(shell);
        }
    }
    ~RunningProgram() {
        if (pid > 0) kill(pid, SIGTERM);  // never -1, which would signal every process
    }
    pid_t pid = -1;
};

// In English, whatever the machine's language, with its plural forms as the program has them.
void EnsureApplication() {
    static int argc = 0;
    if (QApplication::instance()) return;
    QLocale::setDefault(QLocale(QLocale::English));
    InstallTranslations(*new QApplication(argc, nullptr));
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
    RunningProgram first(ProgramCommand(dir.path(), {"\xe9t\xe9.wav"}));
    ASSERT_TRUE(AppearsWithin(dir / "\xe9t\xe9.mp3"));
    EXPECT_TRUE(fs::exists(dir / "Quavermill.ini"));  // started by hand: the working directory
    // The second start hands its folder over and ends at once.
    EXPECT_EQ(RunProgram(dir.path(), {"M\xfcsik"}), 0);
    EXPECT_TRUE(AppearsWithin(dir / "M\xfcsik" / "second.mp3"));
    // Help needs no window system.
    EXPECT_EQ(RunProgram(dir.path(), {"--version"}, "QT_QPA_PLATFORM= DISPLAY= WAYLAND_DISPLAY="), 0);

    // The menu entry's start keeps the settings in the config folder.
    fixtures::WriteSineWav(dir / "home" / "song.wav", 2205);
    const std::string home = fixtures::ShellQuote((dir / "home").string());
    RunningProgram menu(ProgramCommand(dir / "home", {"--desktop", (dir / "home" / "song.wav").string()},
                                       "HOME=" + home + " XDG_CONFIG_HOME=" + home + "/config"));
    ASSERT_TRUE(AppearsWithin(dir / "home" / "song.mp3"));
    EXPECT_TRUE(fs::exists(dir / "home" / "config" / "quavermill" / "Quavermill.ini"));
    EXPECT_FALSE(fs::exists(dir / "home" / "Quavermill.ini"));
}

TEST(SingleInstance, TheSocketLivesInAPrivateFolderAndOnlyOneNobodyAnswersIsReplaced) {
    EnsureApplication();
    fixtures::TempDir dir;
    setenv("TMPDIR", dir.path().c_str(), 1);
    const fs::path own = dir / ("quavermill-" + std::to_string(geteuid()));
    std::string problem;
    setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);  // made with mode 0700
    EXPECT_EQ(InstanceSocketFolder(problem), dir.path().string());
    setenv("XDG_RUNTIME_DIR", "/tmp", 1);  // anyone may put a socket there
    EXPECT_EQ(InstanceSocketFolder(problem), own.string());
    EXPECT_EQ(fs::status(own).permissions(), fs::perms::owner_all);
    fs::permissions(own, fs::perms::others_exec, fs::perm_options::add);
    EXPECT_EQ(InstanceSocketFolder(problem), "");
    EXPECT_EQ(problem, own.string() + ": other users may enter it");
    fs::permissions(own, fs::perms::owner_all);
    if (geteuid() == 0 && chown(own.c_str(), 65534, 65534) == 0) {
        EXPECT_EQ(InstanceSocketFolder(problem), "");
        EXPECT_EQ(problem, own.string() + ": owned by another user");
    }

    // A killed window's socket: bound but nobody listens, so it refuses connections.
    const QString name = InstanceName(dir.path().string(), dir.path().string());
    const std::string bind =
        "/usr/bin/python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' ";
    ASSERT_EQ(std::system((bind + fixtures::ShellQuote(name.toStdString())).c_str()), 0);
    InstanceServer live(name, {});
    EXPECT_TRUE(live.IsListening());
    EXPECT_FALSE(InstanceServer(name, {}).IsListening());  // the live window keeps its socket
    // A window that no longer runs its events (it is closing) never answers that it queued the files, so
    // the second start does not take them for handed over.
    EXPECT_FALSE(HandOverToRunningInstance(name, {"/music/a.wav"}));
}

// A fake notification service on a private session bus sees what the end of a batch sends.
struct FakeNotificationService : QDBusVirtualObject {
    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override {
        calls.append(message);
        return true;
    }
    QString introspect(const QString&) const override { return QString(); }
    QList<QDBusMessage> calls;
};

TEST(FailureNotice, OneNotificationAfterABatchWithFailuresWhoseErrorsWentToTheLog) {
    char address[512] = "";
    int daemon = 0;
    FILE* start = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
    if (!start || std::fscanf(start, "%511s %d", address, &daemon) != 2) GTEST_SKIP() << "no dbus-daemon";
    pclose(start);
    setenv("DBUS_SESSION_BUS_ADDRESS", address, 1);
    EnsureApplication();
    const QString service = "org.freedesktop.Notifications", path = "/org/freedesktop/Notifications";
    QDBusConnection bus = QDBusConnection::connectToBus(address, "fake");
    FakeNotificationService fake;
    ASSERT_TRUE(bus.registerService(service) && bus.registerVirtualObject(path, &fake));

    NoticeBatchFailures(0, true, "/home/u/Quavermill.log");   // a clean batch
    NoticeBatchFailures(2, false, "/home/u/Quavermill.log");  // the errors were shown in boxes
    NoticeBatchFailures(2, true, "/home/u/Quavermill.log");
    // Calls from one connection arrive in order: once this one is in, any other would be too.
    QDBusConnection::sessionBus().send(QDBusMessage::createMethodCall(service, path, service, "End"));
    for (int i = 0; i < 500 && (fake.calls.isEmpty() || fake.calls.last().member() != "End"); ++i) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(10ms);
    }
    kill(daemon, SIGTERM);
    ASSERT_EQ(fake.calls.size(), 2);
    const QList<QVariant> notify = fake.calls[0].arguments();
    ASSERT_EQ(notify.size(), 8);
    EXPECT_EQ(notify[3].toString(), "2 files failed to convert");
    EXPECT_EQ(notify[4].toString(), "The errors are in /home/u/Quavermill.log");
}

// The menu start above sets XDG_CONFIG_HOME; a relative or empty one is to be ignored.
TEST(SettingsFolder, TheConfigFolderFollowsTheXdgRules) {
    setenv("HOME", "/home/u", 1);
    for (const char* xdg : {"", "relative/conf"}) {
        setenv("XDG_CONFIG_HOME", xdg, 1);
        EXPECT_EQ(DesktopSettingsFolder(), "/home/u/.config/quavermill") << xdg;
    }
}

TEST(FolderDrop, AFoldersFilesJoinInNaturalOrderWithTheirPlaceBelowTheOutputFolder) {
    EnsureApplication();
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

    Settings settings;
    std::vector<MessageBoxRequest> boxes;
    WindowServices services = DefaultWindowServices(settings);
    services.showMessageBox = [&boxes](const MessageBoxRequest& box) { boxes.push_back(box); };
    services.workers = 1;
    MainWindow window(services);
    // What the jobs are given: each file's path and its place below the output folder.
    std::vector<std::pair<std::string, std::string>> queued;
    const FileJob record = [&](const std::string& input, const Settings&, const std::string& outputDir,
                               const JobHooks&) {
        queued.emplace_back(input, outputDir);
        return JobResult::Done;
    };
    settings.OutputDir = (dir / "out").string() + "/";
    window.StartConversions({record, record});
    // A dropped URL names the file's bytes, percent-encoded.
    window.QueueDroppedUrls({QUrl::fromEncoded("file:///nowhere/%E9t%E9%20x.wav")});
    window.QueuePaths({(albums.string() + "/"), (dir / "Empty").string(), (dir / "Deep").string()});
    for (int i = 0; i < 500 && window.Engine()->Progress().Busy; ++i) std::this_thread::sleep_for(10ms);
    const std::string a = albums.string(), out = (dir / "out").string();
    EXPECT_EQ(queued, (std::vector<std::pair<std::string, std::string>>{
                          {"/nowhere/\xe9t\xe9 x.wav", out},
                          {a + "/cover.wav", out + "/Albums"},
                          {a + "/Disc 1/2 Two.flac", out + "/Albums/Disc 1"},
                          {a + "/Disc 1/10 Ten.wav", out + "/Albums/Disc 1"},
                          {a + "/Disc 2/01.aif", out + "/Albums/Disc 2"},
                          {a + "/Disc 10/1.mp3", out + "/Albums/Disc 10"},
                      }));
    // The empty folder (the text file inside the album is passed over), and the one it cannot enter.
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text.toStdString(), "No audio files to convert in the folder\n" + (dir / "Empty").string());
    EXPECT_EQ(boxes[1].text.toStdString(), "Can't read the folder\n" + deep.string() + "\nFile name too long");
}

}  // namespace
