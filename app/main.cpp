// The desktop program: one small window that converts what is dropped on it,
// or named on its command line.

#include <QApplication>
#include <QIcon>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/ExitSignals.h"
#include "app/GuiResources.h"
#include "app/MainWindow.h"
#include "app/ProgramArguments.h"
#include "app/SingleInstance.h"
#include "app/Translations.h"
#include "queue/ConversionJobs.h"
#include "settings/Settings.h"
#include "settings/SettingsFolder.h"

namespace {

constexpr int kExitUsage = 2;
constexpr std::chrono::seconds kStopGrace{3};
constexpr mode_t kPrivateSettingsFolderMode = 0700;

// The bytes as given: a file name need not be valid UTF-8, and a trip
// through QString would replace what is not.
std::vector<std::string> ArgumentsAfterProgramName(int argc, char** argv) {
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

bool AnsweredHelpOrVersion(const ProgramArguments& arguments) {
    if (!arguments.Help && !arguments.Version) return false;
    std::fputs(arguments.Help ? ProgramUsageText().c_str() : "quavermill " QM_VERSION "\n", stdout);
    return true;
}

// Help and the version need no window system, so they are answered before
// Qt looks for one (over ssh, on a text console). A command line that does
// not parse may hold Qt's own options, which only QApplication takes out.
bool AnsweredWithoutDisplay(int argc, char** argv) {
    ProgramArguments arguments;
    return ParseProgramArguments(ArgumentsAfterProgramName(argc, argv), arguments).empty() &&
           AnsweredHelpOrVersion(arguments);
}

// Empty when there is no safe place for the socket: the window then runs
// without taking over later starts' files.
QString FindInstanceName() {
    std::string problem;
    const std::string socketFolder = InstanceSocketFolder(problem);
    if (!problem.empty()) std::fprintf(stderr, "quavermill: %s\n", problem.c_str());
    return socketFolder.empty() ? QString() : InstanceName(socketFolder, SettingsFilePath("."));
}

// Started from the menu the working directory is the home folder, which the
// settings and the log must not clutter.
void UseDesktopSettingsFolder() {
    const std::string folder = DesktopSettingsFolder();
    if (folder.empty()) return;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), error);
    // Private whatever the umask: a folder others of the group may write
    // would make its settings untrusted.
    mkdir(folder.c_str(), kPrivateSettingsFolderMode);
    SetSettingsFolder(folder);
}

void ActivateWindow(MainWindow& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

int main(int argc, char** argv) {
    if (AnsweredWithoutDisplay(argc, argv)) return 0;
    // The window opens at its stored corner, is moved by the program while
    // dragged and may stay on top; a native Wayland client can do none of
    // these, so X11 (XWayland on a Wayland desktop) comes first.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quavermill"));
    QApplication::setApplicationVersion(QStringLiteral(QM_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quavermill"));
    InstallTranslations(application);

    ProgramArguments arguments;
    // QApplication has taken its own options out of argv.
    const std::string problem = ParseProgramArguments(ArgumentsAfterProgramName(argc, argv), arguments);
    if (!problem.empty()) {
        std::fprintf(stderr, "quavermill: %s\nTry 'quavermill --help'.\n", problem.c_str());
        return kExitUsage;
    }
    if (AnsweredHelpOrVersion(arguments)) return 0;
    if (arguments.Desktop) UseDesktopSettingsFolder();

    const QString instanceName = FindInstanceName();
    // Held until the process ends, so no later start builds a second window.
    std::unique_ptr<InstanceLock> lock;
    if (!instanceName.isEmpty()) {
        lock = std::make_unique<InstanceLock>(instanceName);
        if (TakeOwnershipOrHandOver(*lock, instanceName, arguments.Paths) == StartRole::HandedOver) return 0;
    }

    InitGuiResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/quavermill/icon-128.png"));
    icon.addFile(QStringLiteral(":/quavermill/icon-16.png"));
    QApplication::setWindowIcon(icon);

    Settings settings;
    const std::string settingsDistrust = LoadSettingsFile(settings, SettingsFilePath(kIniFileName));
    ForgetRunOnlyOutputDir(settings);

    MainWindow window(DefaultWindowServices(settings));
    QObject::connect(&window, &MainWindow::QuitRequested, &application,
                     [](int exitCode) { QCoreApplication::exit(exitCode); });
    window.StartConversions(ConversionJobs());
    ExitOnSignals(&window, [&window] { window.ExitSaving(); });
    window.show();
    window.StartAnimationTimer();
    window.ApplySettings();

    if (!settingsDistrust.empty()) window.ReportIgnoredSettings(settingsDistrust);

    std::unique_ptr<InstanceServer> server;
    if (lock && lock->Held()) {
        server = std::make_unique<InstanceServer>(instanceName, [&window](const std::vector<std::string>& paths) {
            if (!window.QueuePaths(paths)) return false;
            ActivateWindow(window);
            return true;
        });
        // Later starts would wait for a window they cannot reach; they open their own instead.
        if (!server->IsListening()) {
            std::fprintf(stderr, "quavermill: no hand-over between windows: cannot listen on the socket\n");
            lock.reset();
        }
    }
    window.QueuePaths(arguments.Paths);

    const int exitCode = QApplication::exec();
    window.hide();
    // A worker held in a read no stop reaches must not keep the program
    // alive; its unnamed output vanishes with the process.
    if (!window.StopConversionsWithin(kStopGrace)) std::_Exit(exitCode);
    return exitCode;
}
