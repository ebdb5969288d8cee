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

#include "app/GuiResources.h"
#include "app/WindowPainter.h"
#include "app/WindowPlacement.h"
#include "queue/DroppedPaths.h"
#include "settings/EncodeOptions.h"
#include "settings/ErrorReport.h"
#include "settings/Settings.h"
#include "ui/Dialogs.h"

namespace {

inline constexpr const char* kWindowTitle = "Quavermill";
inline constexpr const char* kUnsupportedTypeText = "Unsupported input file type";
inline constexpr const char* kEmptyFolderText = "No audio files to convert in the folder\n%1";
inline constexpr const char* kUnreadableFolderText = "Can't read the folder\n%1\n%2";
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

void RunMenuDialog(int command, QWidget* owner) {
    switch (command) {
    case kCommandEncodingOptions: RunEncodingOptionsDialog(owner); break;
    case kCommandOutputDirectory: RunOutputDirectoryDialog(owner); break;
    case kCommandTaggingSetup: RunTaggingSetupDialog(owner); break;
    case kCommandAbout: RunAboutDialog(owner); break;
    default: break;
    }
}

// The path's own bytes: QUrl::toLocalFile() would replace every byte of it
// that is not UTF-8, and the file would no longer be found.
std::string LocalPathOf(const QUrl& url) {
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

int32_t ToggleValue(bool checked) {
    return checked ? kMenuChecked : 0;
}

}  // namespace

WindowServices DefaultWindowServices(FileQueue& queue) {
    WindowServices services;
    services.queue = &queue;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) services.screenSize = screen->size();
    services.showMessageBox = ShowModalMessageBox;
    services.runDialog = RunMenuDialog;
    return services;
}

MainWindow::MainWindow(WindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      services_(std::move(services)),
      queue_(*services_.queue),
      canvas_(kCanvasSide, kCanvasSide, QImage::Format_RGB32) {
    setWindowTitle(kWindowTitle);
    setFixedSize(kWindowSide, kWindowSide);
    // Every paint covers the whole client area; erasing first would flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);

    const Settings& settings = CurrentSettings();
    move(ClampWindowCoordinate(settings.Window_X, services_.screenSize.width()),
         ClampWindowCoordinate(settings.Window_Y, services_.screenSize.height()));

    smallFont_.setFamily(QStringLiteral("sans-serif"));
    smallFont_.setStyleHint(QFont::SansSerif);
    smallFont_.setPixelSize(kSmallFontPixels);

    BuildMenu();
    LoadFrames();
    errorSink_ = std::make_shared<MessageBoxSink>(this, services_.showMessageBox);
    connect(&animationTimer_, &QTimer::timeout, this, &MainWindow::Tick);
}

MainWindow::~MainWindow() {
    StopConversions();
    if (errorSinkInstalled_) RegisterMessageBoxSink(nullptr);
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
            // new state: 8 when the item was unchecked, 0 when it was checked.
            action->setCheckable(true);
            connect(action, &QAction::triggered, this,
                    [this, command](bool checked) { ApplyToggle(command, ToggleValue(checked)); });
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
    Settings& settings = CurrentSettings();
    ApplySettingsToJobs();
    SyncCheckMarks();
    SetTopmost(settings.AlwaysOnTop != 0);
    SelectErrorSink(settings.Logerr);
    VBRSliderPos() = settings.VBRQuality;
}

void MainWindow::SyncCheckMarks() {
    const Settings& settings = CurrentSettings();
    actions_.at(kCommandAutoTagging)->setChecked(settings.AutoTag != 0);
    actions_.at(kCommandDeleteInput)->setChecked(settings.DeleteInput != 0);
    actions_.at(kCommandAlwaysOnTop)->setChecked(settings.AlwaysOnTop != 0);
    actions_.at(kCommandErrorsToLog)->setChecked(settings.Logerr != 0);
}

void MainWindow::StartAnimationTimer() {
    animationTimer_.start(kAnimationIntervalMs);
}

void MainWindow::InstallErrorSink() {
    RegisterMessageBoxSink([sink = errorSink_](const std::string& text) { sink->Show(text); });
    errorSinkInstalled_ = true;
}

void MainWindow::StartConversions(WorkerJobs jobs) {
    if (worker_.joinable()) return;
    worker_ = StartWorker(queue_, std::move(jobs));
}

void MainWindow::StopConversions() {
    queue_.Quitting = 1;
    // Before the join: a worker waiting for a box would otherwise wait for
    // this thread, which waits for it.
    errorSink_->Shutdown();
    if (worker_.joinable()) worker_.join();
}

void MainWindow::Tick() {
    if (queue_.Busy != 0 || frameIndex_ != 0) frameIndex_ = (frameIndex_ + 1) % kAnimationFrameCount;
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
        if (services_.runDialog) services_.runDialog(command, this);
        // The Tagging dialog changes AutoTag; any dialog may change settings
        // the menu shows.
        SyncCheckMarks();
        break;
    case kCommandAutoTagging:
    case kCommandDeleteInput:
    case kCommandAlwaysOnTop:
    case kCommandErrorsToLog:
        actions_.at(command)->trigger();
        break;
    case kCommandExit:
        SaveSettings();
        Quit();
        break;
    default:
        break;
    }
}

void MainWindow::ApplyToggle(int command, int32_t value) {
    Settings& settings = CurrentSettings();
    switch (command) {
    case kCommandAutoTagging:
        settings.AutoTag = value;
        SetEncodeAutoTag(value);
        break;
    case kCommandDeleteInput:
        settings.DeleteInput = value;
        SetEncodeDeleteInput(value);
        break;
    case kCommandAlwaysOnTop:
        settings.AlwaysOnTop = value;
        SetTopmost(value != 0);
        break;
    case kCommandErrorsToLog:
        settings.Logerr = value;
        SelectErrorSink(value);
        break;
    default:
        break;
    }
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
    StopConversions();
    emit QuitRequested(0);
}

void MainWindow::QueueDroppedUrls(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) {
            services_.showMessageBox({kErrorBoxCaption, kUnsupportedTypeText, QMessageBox::Warning});
            continue;
        }
        QueuePaths({LocalPathOf(url)});
    }
}

void MainWindow::QueuePaths(const std::vector<std::string>& paths) {
    const auto warn = [this](const QString& text) {
        services_.showMessageBox({kErrorBoxCaption, text, QMessageBox::Warning});
    };
    for (const std::string& path : paths) {
        std::vector<UnreadableFolder> unreadable;
        switch (QueueDroppedPath(queue_, path, unreadable)) {
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
}

void MainWindow::paintEvent(QPaintEvent*) {
    const QRect client = rect();
    const std::string output = queue_.CurrentOutput();
    const WindowPicture picture{
        queue_.Total.load(),
        queue_.Remaining.load(),
        queue_.FileFraction.load(),
        QFile::decodeName(QByteArray::fromStdString(output)),
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
    Settings& settings = CurrentSettings();
    settings.Window_X = corner.x();
    settings.Window_Y = corner.y();
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
