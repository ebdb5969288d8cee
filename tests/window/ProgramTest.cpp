// The desktop program as a user starts it: with files and folders on its
// command line, from the menu entry, and a second time while it runs; and
// what it tells the desktop.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "app/FailureNotice.h"
#include "app/Translations.h"
#include "app/SingleInstance.h"
#include "settings/SettingsFolder.h"
#include "support/Fixtures.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The program offscreen in `folder`, given up after 20 s; `environment` holds NAME=value shell words for it
// alone. Its pid, exit status and standard error land in the files `name`.pid, .status and .err there.
std::string ProgramCommand(const fs::path& folder, const std::vector<std::string>& arguments,
                           const std::string& environment = "", const std::string& name = "run") {
    std::string command = "cd " + fixtures::ShellQuote(folder.string()) + " && (QT_QPA_PLATFORM=offscreen " +
                          environment + " timeout 20 sh -c 'echo $$ >" + name + ".pid; exec \"$0\" \"$@\"' " +
                          fixtures::ShellQuote(QM_APP_PATH);
    for (const std::string& argument : arguments) command += " " + fixtures::ShellQuote(argument);
    return command + " >/dev/null 2>" + name + ".err; s=$?; echo $s >" + name + ".status; exit $s)";
}

// A start in the background; still running at the end of the test (a window), it is killed.
struct RunningProgram {
    RunningProgram(const fs::path& folder, const std::string& name, const std::vector<std::string>& arguments,
                   const std::string& environment = "")
        : status(folder / (name + ".status")), pid(folder / (name + ".pid")) {
        std::system((ProgramCommand(folder, arguments, environment, name) + " &").c_str());
    }
    ~RunningProgram() {
        if (fs::exists(pid) && !Ended()) kill(std::stoi(fixtures::ReadText(pid)), SIGKILL);
    }
    bool Ended() const { return fs::exists(status); }
    fs::path status, pid;
};

bool AppearsWithin(const fs::path& path, std::chrono::seconds limit = 20s) {
    for (auto waited = 0ms; waited < limit; waited += 50ms) {
        if (fs::exists(path)) return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

// Names are bytes, not necessarily UTF-8 (here Latin-1).
TEST(Program, FilesAndFoldersOnTheCommandLineAreConverted) {
    fixtures::TempDir dir;
    fixtures::WriteSineWav(dir / "\xe9t\xe9.wav", 2205);
    fixtures::WriteSineWav(dir / "M\xfcsik" / "second.wav", 2205);
    RunningProgram first(dir.path(), "first", {"\xe9t\xe9.wav", "M\xfcsik"});
    ASSERT_TRUE(AppearsWithin(dir / "\xe9t\xe9.mp3"));
    EXPECT_TRUE(fs::exists(dir / "Quavermill.ini"));  // started by hand: the working directory
    EXPECT_TRUE(AppearsWithin(dir / "M\xfcsik" / "second.mp3"));
    // Help needs no window system.
    const std::string noWindowSystem = "QT_QPA_PLATFORM= DISPLAY= WAYLAND_DISPLAY=";
    EXPECT_EQ(std::system(ProgramCommand(dir.path(), {"--version"}, noWindowSystem).c_str()), 0);

    // The menu entry's start keeps the settings in the config folder, made private even under a umask that
    // lets the group write, which would leave the settings untrusted.
    fixtures::WriteSineWav(dir / "home" / "song.wav", 2205);
    const std::string home = fixtures::ShellQuote((dir / "home").string());
    const mode_t umaskBefore = umask(002);
    RunningProgram menu(dir / "home", "menu", {"--desktop", (dir / "home" / "song.wav").string()},
                        "HOME=" + home + " XDG_CONFIG_HOME=" + home + "/config");
    umask(umaskBefore);
    ASSERT_TRUE(AppearsWithin(dir / "home" / "song.mp3"));
    EXPECT_TRUE(fs::exists(dir / "home" / "config" / "quavermill" / "Quavermill.ini"));
    EXPECT_EQ(fs::status(dir / "home" / "config" / "quavermill").permissions(), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(dir / "home" / "Quavermill.ini"));
}

TEST(SingleInstance, TheSocketLivesInAPrivateFolder) {
    fixtures::TempDir dir;
    const std::string temporary = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
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
    EXPECT_NE(problem.find("no hand-over between windows: " + own.string() + ": other users may enter it"),
              std::string::npos);
    fs::permissions(own, fs::perms::owner_all);
    if (geteuid() == 0 && chown(own.c_str(), 65534, 65534) == 0) {
        EXPECT_EQ(InstanceSocketFolder(problem), "");
        EXPECT_NE(problem.find(own.string() + ": owned by another user"), std::string::npos);
    }
    setenv("TMPDIR", temporary.c_str(), 1);
    unsetenv("XDG_RUNTIME_DIR");
}

// Fix: a second start gave up on a window showing a box and opened its own, and the first then crashed
// answering it; two starts at once opened two windows; a socket folder too long for the kernel gave every
// start its own window. In each row one process converts every file once (a second conversion of a
// deleted input would be logged) and the other start ends at once.
TEST(SingleInstance, EveryFileIsConvertedOnceByTheOneWindow) {
    // A lock held at the start stands for a window that is not built yet.
    const struct { const char* what; std::vector<std::string> first, second; bool lockHeldAtStart, longFolders; } rows[] = {
        {"a box open in the window", {"notes.txt", "a.wav"}, {"more.txt", "b.wav"}, false, false},
        {"two starts at once", {"a.wav"}, {"b.wav"}, true, false},
        {"socket folders too long", {"a.wav"}, {"b.wav"}, false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fixtures::TempDir dir;
        fixtures::ScopedWorkingDir cwd(dir.path());
        fixtures::WriteText(dir / "Quavermill.ini", "[Quavermill]\nDeleteInput=8\n");
        for (const char* file : {"notes.txt", "more.txt"}) fixtures::WriteText(dir / file, "x");
        for (const char* file : {"a.wav", "b.wav"}) fixtures::WriteSineWav(dir / file, 2205);
        const fs::path run = dir / (row.longFolders ? std::string(100, 'r') : "run");
        fs::create_directory(run);
        fs::permissions(run, fs::perms::owner_all);
        const std::string environment = "XDG_RUNTIME_DIR=" + run.string() + " TMPDIR=" + run.string();
        auto holder = std::make_unique<InstanceLock>(InstanceName(run.string(), "."));
        ASSERT_TRUE(!row.lockHeldAtStart || holder->TryTake());
        RunningProgram first(dir.path(), "first", row.first, environment);
        ASSERT_TRUE(row.lockHeldAtStart || AppearsWithin(dir / "a.mp3"));
        RunningProgram second(dir.path(), "second", row.second, environment);
        std::this_thread::sleep_for(500ms);
        EXPECT_TRUE(!row.lockHeldAtStart || !fs::exists(dir / "b.mp3"));  // both wait for the lock
        holder.reset();
        EXPECT_TRUE(AppearsWithin(dir / "a.mp3") && AppearsWithin(dir / "b.mp3"));
        for (int i = 0; i < 100 && (fs::exists(dir / "b.wav") || !(first.Ended() || second.Ended())); ++i)
            std::this_thread::sleep_for(50ms);
        EXPECT_NE(first.Ended(), second.Ended());
        EXPECT_EQ(fixtures::ReadText(first.Ended() ? first.status : second.status), "0\n");
        EXPECT_FALSE(fs::exists(dir / "a.wav") || fs::exists(dir / "b.wav") || fs::exists(dir / "Quavermill.log"));
        EXPECT_EQ(fixtures::ReadText(dir / "first.err").find("too long for a socket path") != std::string::npos,
                  row.longFolders);
    }
}

// A logout's SIGTERM ends the window as Exit does: the settings are saved, and the file under way stops
// without leaving a file behind.
TEST(Program, ASigtermEndsItAsExitDoes) {
    fixtures::TempDir dir;
    fixtures::WriteSineWav(dir / "long.wav", 44100 * 60);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const int program = fixtures::StartProgram(dir.path(), QM_APP_PATH, {"long.wav"});
    for (int i = 0; i < 400 && !fixtures::WritesAnUnnamedFile(program); ++i) std::this_thread::sleep_for(50ms);
    fs::remove(dir / "Quavermill.ini");  // Exit writes it again
    kill(program, SIGTERM);
    EXPECT_EQ(fixtures::WaitForExit(program), 0);
    EXPECT_EQ(fixtures::NamesIn(dir.path()), (std::set<std::string>{"Quavermill.ini", "long.wav"}));
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
    // In English, whatever the machine's language, with its plural forms as the program has them.
    static int argc = 0;
    QLocale::setDefault(QLocale(QLocale::English));
    InstallTranslations(*new QApplication(argc, nullptr));
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

}  // namespace
