#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <cstdint>
#include <string>

#include "app/FailureNotice.h"
#include "app/GuiResources.h"
#include "app/WindowPainter.h"
#include "app/WindowPlacement.h"
#include "job/OutputNaming.h"
#include "queue/DroppedPaths.h"
#include "settings/ErrorReport.h"
#include "settings/Settings.h"
#include "settings/SettingsFolder.h"
#include "ui/Dialogs.h"

namespace {

inline constexpr const char* kWindowTitle = "Quavermill";
inline constexpr const char* kUnsupportedTypeText = "Unsupported input file type";
inline constexpr const char* kEmptyFolderText = "No audio files to convert in the folder\n%1";
inline constexpr const char* kUnreadableFolderText = "Can't read the folder\n%1\n%2";
inline constexpr const char* kIgnoredSettingsLogText = "settings not read, the defaults apply: ";
// Large enough for any client area the window can have.
inline constexpr int kCanvasSide = 200;
inline constexpr int kSmallFontPixels = 10;

struct MenuEntry {
    int command;
    const char* text;
    bool toggle;
    bool separatorBefore;
};

// In menu order. The text after the tab of Exit is a label only; Alt+F4 is
// the window manager's close, which does not save.
constexpr MenuEntry kMenuEntries[] = {
    {kCommandEncodingOptions, "&Encoding Options", false, false},
    {kCommandOutputDirectory, "&Output Directory", false, false},
    {kCommandTaggingSetup, "&Tagging Setup", false, false},
    {kCommandAbout, "&About", false, false},
    {kCommandAutoTagging, "A&UTO Tagging", true, true},
    {kCommandDeleteInput, "&Delete Input file", true, false},
    {kCommandAlwaysOnTop, "Al&ways on Top", true, false},
    {kCommandErrorsToLog, "Errors to &Log file", true, false},
    {kCommandExit, "E&xit\tAlt+F4", false, true},
};

void RunMenuDialog(int command, QWidget* owner, Settings& settings, int32_t& sliderPosition) {
    switch (command) {
    case kCommandEncodingOptions: RunEncodingOptionsDialog(owner, settings, sliderPosition); break;
    case kCommandOutputDirectory: RunOutputDirectoryDialog(owner, settings); break;
    case kCommandTaggingSetup: RunTaggingSetupDialog(owner, settings); break;
    case kCommandAbout: RunAboutDialog(owner); break;
    default: break;
    }
}

// The path's own bytes: QUrl::toLocalFile() would replace every byte of it
// that is not UTF-8, and the file would no longer be found.
std::string LocalPathOf(const QUrl& url) {
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

}  // namespace

WindowServices DefaultWindowServices(Settings& settings) {
    WindowServices services;
    services.settings = &settings;
    services.logPath = SettingsFilePath(kLogFileName);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) services.screenSize = screen->size();
    services.showMessageBox = ShowModalMessageBox;
    services.runDialog = RunMenuDialog;
    services.batchEnded = [logPath = AbsolutePath(services.logPath)](const BatchSummary& summary, bool errorsToLog) {
        NoticeBatchFailures(summary.Failed, errorsToLog, logPath);
    };
    return services;
}

MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      services_(std::move(services)),
      settings_(*services_.settings),
      vbrSliderPosition_(settings_.VBRQuality),
      canvas_(kCanvasSide, kCanvasSide, QImage::Format_RGB32) {
    setWindowTitle(kWindowTitle);
    setFixedSize(kWindowSide, kWindowSide);
    // Every paint covers the whole client area; erasing first would flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);

    move(ClampWindowCoordinate(settings_.Window_X, services_.screenSize.width()),
         ClampWindowCoordinate(settings_.Window_Y, services_.screenSize.height()));

    smallFont_.setFamily(QStringLiteral("sans-serif"));
    smallFont_.setStyleHint(QFont::SansSerif);
    smallFont_.setPixelSize(kSmallFontPixels);

    BuildMenu();
    LoadFrames();
    errorRoute_ = std::make_shared<ErrorRoute>();
    errorRoute_->logPath = services_.logPath;
    errorRoute_->boxes = std::make_shared<MessageBoxSink>(this, services_.showMessageBox);
    connect(&animationTimer_, &QTimer::timeout, this, &MainWindow::Tick);
}

MainWindow::~MainWindow() {
    StopConversions();
}

void MainWindow::BuildMenu() {
    menu_ = new QMenu(this);
    for (const MenuEntry& entry : kMenuEntries) {
        if (entry.separatorBefore) menu_->addSeparator();
        QAction* action = menu_->addAction(QString::fromUtf8(entry.text));
        action->setData(entry.command);
        actions_[entry.command] = action;
        const int command = entry.command;
        if (entry.toggle) {
            // Qt flips the check mark before `triggered`, so `checked` is the
            // new state.
            action->setCheckable(true);
            connect(action, &QAction::triggered, this, [this, command](bool checked) { ApplyToggle(command, checked); });
        } else {
            connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        }
    }
}

void MainWindow::LoadFrames() {
    InitGuiResources();
    for (int frame = 0; frame < kAnimationFrameCount; ++frame) {
        frames_[frame] = QImage(QStringLiteral(":/quavermill/frame%1.png").arg(frame))
                             .convertToFormat(QImage::Format_RGB32);
    }
}

void MainWindow::ApplySettings() {
    SyncCheckMarks();
    SetTopmost(settings_.AlwaysOnTop.On());
    errorRoute_->toLog = settings_.Logerr.On();
    vbrSliderPosition_ = settings_.VBRQuality;
    PublishSettings();
}

void MainWindow::SyncCheckMarks() {
    actions_.at(kCommandAutoTagging)->setChecked(settings_.AutoTag.On());
    actions_.at(kCommandDeleteInput)->setChecked(settings_.DeleteInput.On());
    actions_.at(kCommandAlwaysOnTop)->setChecked(settings_.AlwaysOnTop.On());
    actions_.at(kCommandErrorsToLog)->setChecked(settings_.Logerr.On());
}

void MainWindow::PublishSettings() {
    if (engine_) engine_->SetSettings(std::make_shared<const Settings>(settings_));
}

void MainWindow::StartAnimationTimer() {
    animationTimer_.start(kAnimationIntervalMs);
}

void MainWindow::StartConversions(BatchJobs jobs) {
    if (engine_) return;
    EngineOptions options;
    options.Jobs = std::move(jobs);
    options.Workers = services_.workers;
    // Each message goes where the menu says at the moment it is raised; a box
    // holds only the worker that raised it.
    options.Report = [route = errorRoute_](const ErrorMessage& message) {
        if (route->toLog) {
            AppendToLog(route->logPath, message);
        } else {
            route->boxes->Show(FormatForMessageBox(message));
        }
    };
    options.BatchEnded = [this, route = errorRoute_](const BatchSummary& summary) {
        if (!services_.batchEnded) return;
        const bool toLog = route->toLog;
        QMetaObject::invokeMethod(
            this, [this, summary, toLog] { services_.batchEnded(summary, toLog); }, Qt::QueuedConnection);
    };
    engine_ = std::make_unique<BatchEngine>(std::move(options));
    PublishSettings();
}

void MainWindow::StopConversions() {
    stopped_ = true;
    // Before the workers are joined: a worker waiting for a box would
    // otherwise wait for this thread, which waits for it.
    errorRoute_->boxes->Shutdown();
    if (engine_) engine_->Stop();
}

bool MainWindow::StopConversionsWithin(std::chrono::milliseconds timeout) {
    stopped_ = true;
    errorRoute_->boxes->Shutdown();
    if (!engine_) return true;
    engine_->RequestStop();
    if (!engine_->WaitForStopFor(timeout)) return false;
    engine_->Stop();
    return true;
}

void MainWindow::Tick() {
    const bool busy = engine_ && engine_->Progress().Busy;
    if (busy || frameIndex_ != 0) frameIndex_ = (frameIndex_ + 1) % kAnimationFrameCount;
    update();
}

QAction* MainWindow::MenuAction(int command) const {
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

void MainWindow::RunCommand(int command) {
    switch (command) {
    case kCommandEncodingOptions:
    case kCommandOutputDirectory:
    case kCommandTaggingSetup:
    case kCommandAbout:
        if (services_.runDialog) services_.runDialog(command, this, settings_, vbrSliderPosition_);
        // The Tagging dialog changes AutoTag; any dialog may change settings
        // the menu shows.
        SyncCheckMarks();
        PublishSettings();
        break;
    case kCommandAutoTagging:
    case kCommandDeleteInput:
    case kCommandAlwaysOnTop:
    case kCommandErrorsToLog:
        actions_.at(command)->trigger();
        break;
    case kCommandExit:
        SaveSettingsFile(settings_, SettingsFilePath(kIniFileName));
        Quit();
        break;
    default:
        break;
    }
}

void MainWindow::ApplyToggle(int command, bool checked) {
    const Switch value = MenuSwitch(checked);
    switch (command) {
    case kCommandAutoTagging:
        settings_.AutoTag = value;
        break;
    case kCommandDeleteInput:
        settings_.DeleteInput = value;
        break;
    case kCommandAlwaysOnTop:
        settings_.AlwaysOnTop = value;
        SetTopmost(checked);
        break;
    case kCommandErrorsToLog:
        settings_.Logerr = value;
        errorRoute_->toLog = checked;
        break;
    default:
        break;
    }
    PublishSettings();
}

bool MainWindow::IsTopmost() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void MainWindow::SetTopmost(bool on) {
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (flags == windowFlags()) return;
    if (QWindow* handle = windowHandle()) {
        // setWindowFlags() would re-create the native window, hiding it;
        // changing the existing one keeps it shown where it is.
        overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
}

void MainWindow::Quit() {
    // Only asked here: the GUI thread must never wait for a worker. The
    // program waits, with a limit, once its loop has ended. Files handed
    // over from now on are refused, so their start opens its own window.
    stopped_ = true;
    errorRoute_->boxes->Shutdown();
    if (engine_) engine_->RequestStop();
    emit QuitRequested(0);
}

void MainWindow::QueueDroppedUrls(const QList<QUrl>& urls) {
    std::vector<std::string> paths;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) {
            errorRoute_->boxes->Post({kErrorBoxCaption, kUnsupportedTypeText, QMessageBox::Warning});
            continue;
        }
        paths.push_back(LocalPathOf(url));
    }
    QueuePaths(paths);
}

bool MainWindow::QueuePaths(const std::vector<std::string>& paths) {
    // Push would drop the files without a word.
    if (!engine_ || stopped_) return false;
    // A box shown here would run its own event loop inside a drop or a
    // hand-over, whose answer would then wait for the user.
    const auto warn = [this](const QString& text) {
        errorRoute_->boxes->Post({kErrorBoxCaption, text, QMessageBox::Warning});
    };
    // One push for all of them: the claims rule must see every file of the
    // drop before the first starts, or a decode could write over a WAV file
    // dropped with it.
    std::vector<QueuedFile> files;
    for (const std::string& path : paths) {
        std::vector<UnreadableFolder> unreadable;
        switch (CollectDroppedPath(path, files, unreadable)) {
        case DropOutcome::Queued:
        case DropOutcome::Ignored: break;
        case DropOutcome::Unsupported: warn(kUnsupportedTypeText); break;
        case DropOutcome::EmptyFolder:
            warn(QString::fromUtf8(kEmptyFolderText).arg(QFile::decodeName(path.c_str())));
            break;
        }
        for (const UnreadableFolder& folder : unreadable) {
            warn(QString::fromUtf8(kUnreadableFolderText)
                     .arg(QFile::decodeName(folder.Path.c_str()), QString::fromLocal8Bit(folder.Reason)));
        }
    }
    engine_->Push(files);
    return true;
}

void MainWindow::ReportIgnoredSettings(const std::string& reason) {
    const std::string file = AbsolutePath(SettingsFilePath(kIniFileName));
    AppendToLog(services_.logPath, {file, kIgnoredSettingsLogText + reason});
    errorRoute_->boxes->Post({kErrorBoxCaption,
                              tr("The settings in %1 were not read and will not be saved: %2.\n"
                                 "The default settings are used.")
                                  .arg(QFile::decodeName(file.c_str()), QString::fromLocal8Bit(reason.c_str())),
                              QMessageBox::Warning});
}

void MainWindow::paintEvent(QPaintEvent*) {
    const QRect client = rect();
    const BatchProgress progress = engine_ ? engine_->Progress() : BatchProgress{};
    const WindowPicture picture{
        progress.Total,
        progress.Total - progress.Finished,
        progress.FirstFraction,
        progress.UnderWay,
        QFile::decodeName(QByteArray::fromStdString(progress.FirstOutput)),
        &frames_[frameIndex_],
    };
    PaintWindow(canvas_, client, picture, font(), smallFont_);
    QPainter painter(this);
    painter.drawImage(client.topLeft(), canvas_, client);
}

bool MainWindow::event(QEvent* event) {
    switch (event->type()) {
    // The button's release may never arrive here: the window lost the mouse
    // to another window, a modal box, or the window manager.
    case QEvent::UngrabMouse:
    case QEvent::WindowDeactivate:
    case QEvent::WindowBlocked:
        EndDrag();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // Qt grabs the mouse for the pressed widget until the button is released.
    dragOffset_ = event->globalPosition().toPoint() - pos();
    dragging_ = true;
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    // The left button was released where this window did not see it.
    if (!event->buttons().testFlag(Qt::LeftButton)) {
        EndDrag();
        return;
    }
    const QPoint corner = event->globalPosition().toPoint() - dragOffset_;
    move(corner);
    settings_.Window_X = corner.x();
    settings_.Window_Y = corner.y();
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        EndDrag();
    } else if (event->button() == Qt::RightButton) {
        // The menu takes the mouse; the left button's release would go to it.
        EndDrag();
        menu_->popup(event->globalPosition().toPoint());
    }
}

void MainWindow::EndDrag() {
    dragging_ = false;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) return;
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    // Queued after the drop is finished: a warning box shown inside the drop
    // would keep the file manager waiting for the drop to end.
    QMetaObject::invokeMethod(this, [this, urls] { QueueDroppedUrls(urls); }, Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing does not save the settings; only Exit does.
    Quit();
    event->accept();
}
