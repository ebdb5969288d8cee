// The desktop program: one small window that converts what is dropped on it.

#include <QApplication>
#include <QIcon>

#include "queue/ConversionJobs.h"
#include "queue/FileQueue.h"
#include "app/GuiResources.h"
#include "app/MainWindow.h"
#include "settings/Settings.h"

int main(int argc, char** argv) {
    // The window opens at its stored corner, is moved by the program while
    // dragged and may stay on top; a native Wayland client can do none of
    // these, so X11 (XWayland on a Wayland desktop) comes first.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quavermill"));
    QApplication::setDesktopFileName(QStringLiteral("quavermill"));

    InitGuiResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/quavermill/icon-large.png"));
    icon.addFile(QStringLiteral(":/quavermill/icon-small.png"));
    QApplication::setWindowIcon(icon);

    LoadSettings();

    FileQueue queue;
    MainWindow window(DefaultWindowServices(queue));
    QObject::connect(&window, &MainWindow::QuitRequested, &application,
                     [](int exitCode) { QCoreApplication::exit(exitCode); });
    window.InstallErrorSink();
    window.StartConversions(ConversionJobs());
    window.show();
    window.StartAnimationTimer();
    window.ApplySettings();

    const int exitCode = QApplication::exec();
    window.StopConversions();
    return exitCode;
}
