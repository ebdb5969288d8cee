// The desktop program: one small window that converts what is dropped on it,
// or named on its command line.

#include <QApplication>
#include <QFile>
#include <QIcon>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/GuiResources.h"
#include "app/MainWindow.h"
#include "app/ProgramArguments.h"
#include "app/SingleInstance.h"
#include "queue/ConversionJobs.h"
#include "settings/Settings.h"
#include "settings/SettingsFolder.h"

namespace {

constexpr int kExitUsage = 2;

std::vector<std::string> ArgumentsAfterProgramName() {
    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(QFile::encodeName(all[i]).toStdString());
    return arguments;
}

// Started from the menu the working directory is the home folder, which the
// settings and the log must not clutter.
void UseDesktopSettingsFolder() {
    const std::string folder = DesktopSettingsFolder();
    if (folder.empty()) return;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    SetSettingsFolder(folder);
}

void ActivateWindow(MainWindow& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

int main(int argc, char** argv) {
    // The window opens at its stored corner, is moved by the program while
    // dragged and may stay on top; a native Wayland client can do none of
    // these, so X11 (XWayland on a Wayland desktop) comes first.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quavermill"));
    QApplication::setApplicationVersion(QStringLiteral(QM_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("quavermill"));

    ProgramArguments arguments;
    const std::string problem = ParseProgramArguments(ArgumentsAfterProgramName(), arguments);
    if (!problem.empty()) {
        std::fprintf(stderr, "quavermill: %s\nTry 'quavermill --help'.\n", problem.c_str());
        return kExitUsage;
    }
    if (arguments.Help || arguments.Version) {
        std::fputs(arguments.Help ? ProgramUsageText().c_str() : "quavermill " QM_VERSION "\n", stdout);
        return 0;
    }
    if (arguments.Desktop) UseDesktopSettingsFolder();

    const QString instanceName = InstanceName(SettingsFilePath("."));
    if (HandOverToRunningInstance(instanceName, arguments.Paths)) return 0;

    InitGuiResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/quavermill/icon-large.png"));
    icon.addFile(QStringLiteral(":/quavermill/icon-small.png"));
    QApplication::setWindowIcon(icon);

    Settings settings;
    LoadSettingsFile(settings, SettingsFilePath(kIniFileName));
    ForgetRunOnlyOutputDir(settings);

    MainWindow window(DefaultWindowServices(settings));
    QObject::connect(&window, &MainWindow::QuitRequested, &application,
                     [](int exitCode) { QCoreApplication::exit(exitCode); });
    window.StartConversions(ConversionJobs());
    window.show();
    window.StartAnimationTimer();
    window.ApplySettings();

    InstanceServer server(instanceName, [&window](const std::vector<std::string>& paths) {
        window.QueuePaths(paths);
        ActivateWindow(window);
    });
    window.QueuePaths(arguments.Paths);

    const int exitCode = QApplication::exec();
    window.StopConversions();
    return exitCode;
}
