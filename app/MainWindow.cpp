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
#include <QProgressBar>
#include <QFileDialog>
#include <QKeyEvent>
#include <QContextMenuEvent>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/FailureNotice.h"
#include "app/GuiResources.h"
#include "app/WindowPainter.h"
#include "app/WindowPlacement.h"
#include "input/SourceType.h"
#include "job/OutputNaming.h"
#include "queue/DroppedPaths.h"
#include "settings/ErrorReport.h"
#include "settings/Settings.h"
#include "settings/SettingsFolder.h"
#include "ui/Dialogs.h"

namespace {

inline constexpr const char* kWindowTitle = "Quavermill";
inline constexpr const char* kUnsupportedTypeText = "Unsupported input file type";
inline constexpr const char* kEmptyFolderText =
    QT_TRANSLATE_NOOP("MainWindow", "No audio files to convert in the folder\n%1");
inline constexpr const char* kUnreadableFolderText = QT_TRANSLATE_NOOP("MainWindow", "Can't read the folder\n%1\n%2");
inline constexpr const char* kIgnoredSettingsLogText = "settings not read, the defaults apply: ";
// Large enough for any client area the window can have.
inline constexpr int kCanvasSide = 200;
inline constexpr int kSmallFontPixels = 10;
inline constexpr int kPercent = 100;

MenuDialogs UiDialogs() {
    return {RunEncodingOptionsDialog, RunOutputDirectoryDialog, RunTaggingSetupDialog, RunAboutDialog};
}

// "*.wav *.WAV *.aif ...": the extensions of the format table in both
// cases, as a file dialog's filter matches them exactly.
QString ConvertibleFilePatterns() {
    QStringList patterns;
    for (const InputJob job : {InputJob::Encode, InputJob::Decode}) {
        const QString extensions = QString::fromStdString(ExtensionsConvertedBy(job));
        for (const QString& extension : extensions.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            patterns << QLatin1Char('*') + extension << QLatin1Char('*') + extension.toUpper();
    }
    return patterns.join(QLatin1Char(' '));
}

std::vector<std::string> EncodedPaths(const QStringList& paths) {
    std::vector<std::string> encoded;
    for (const QString& path : paths) encoded.push_back(QFile::encodeName(path).toStdString());
    return encoded;
}

std::vector<std::string> PickFilesWithQt(QWidget* owner) {
    const QString filters = MainWindow::tr("Audio files (%1)").arg(ConvertibleFilePatterns()) + QStringLiteral(";;") +
                            MainWindow::tr("All files (*)");
    return EncodedPaths(QFileDialog::getOpenFileNames(owner, MainWindow::tr("Convert Files"), QString(), filters));
}

std::vector<std::string> PickFolderWithQt(QWidget* owner) {
    const QString folder = QFileDialog::getExistingDirectory(owner, MainWindow::tr("Convert Folder"));
    return folder.isEmpty() ? std::vector<std::string>{} : EncodedPaths({folder});
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
    // The caption is the window's own word; the text stays the conversion's,
    // word for word, as the log and the tool have it.
    services.showMessageBox = [](MessageBoxRequest request) {
        if (request.caption == QLatin1String(kErrorBoxCaption)) request.caption = MainWindow::tr("Error");
        ShowModalMessageBox(request);
    };
    services.dialogs = UiDialogs();
    services.pickers = {PickFilesWithQt, PickFolderWithQt};
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
    // Keyboard users reach the menu and the shortcuts only through focus.
    setFocusPolicy(Qt::StrongFocus);

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
    fileBar_ = CreateAccessibleBar(tr("Current file"));
    batchBar_ = CreateAccessibleBar(tr("All files"));
    UpdateAccessibleState();
}

MainWindow::~MainWindow() {
    StopConversions();
}

QAction* MainWindow::AddMenuAction(const QString& text, const char* name, void (MainWindow::*slot)()) {
    QAction* action = menu_->addAction(text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

QAction* MainWindow::AddMenuToggle(const QString& text, const char* name, void (MainWindow::*slot)(bool)) {
    QAction* action = menu_->addAction(text);
    action->setObjectName(name);
    action->setCheckable(true);
    // Qt flips the check mark before `triggered`, so `checked` is the new state.
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void MainWindow::BuildMenu() {
    using namespace window_actions;
    menu_ = new QMenu(this);
    convertFilesAction_ = AddMenuAction(tr("Convert &Files..."), kConvertFiles, &MainWindow::ConvertFiles);
    convertFilesAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    convertFolderAction_ = AddMenuAction(tr("Convert F&older..."), kConvertFolder, &MainWindow::ConvertFolder);
    convertFolderAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    // The shortcuts work while the window has focus, with the menu closed.
    addActions({convertFilesAction_, convertFolderAction_});
    menu_->addSeparator();
    encodingOptionsAction_ = AddMenuAction(tr("&Encoding Options"), kEncodingOptions, &MainWindow::ShowEncodingOptions);
    outputDirectoryAction_ = AddMenuAction(tr("&Output Directory"), kOutputDirectory, &MainWindow::ShowOutputDirectory);
    taggingSetupAction_ = AddMenuAction(tr("&Tagging Setup"), kTaggingSetup, &MainWindow::ShowTaggingSetup);
    aboutAction_ = AddMenuAction(tr("&About"), kAbout, &MainWindow::ShowAbout);
    menu_->addSeparator();
    autoTaggingAction_ = AddMenuToggle(tr("A&UTO Tagging"), kAutoTagging, &MainWindow::SetAutoTagging);
    deleteInputAction_ = AddMenuToggle(tr("&Delete Input file"), kDeleteInput, &MainWindow::SetDeleteInput);
    alwaysOnTopAction_ = AddMenuToggle(tr("Al&ways on Top"), kAlwaysOnTop, &MainWindow::SetAlwaysOnTop);
    errorsToLogAction_ = AddMenuToggle(tr("Errors to &Log file"), kErrorsToLog, &MainWindow::SetErrorsToLog);
    menu_->addSeparator();
    // The text after the tab is a label only; Alt+F4 is the window manager's
    // close, which does not save.
    exitAction_ = AddMenuAction(tr("E&xit") + QStringLiteral("\tAlt+F4"), kExit, &MainWindow::ExitSaving);
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
    autoTaggingAction_->setChecked(settings_.AutoTag.On());
    deleteInputAction_->setChecked(settings_.DeleteInput.On());
    alwaysOnTopAction_->setChecked(settings_.AlwaysOnTop.On());
    errorsToLogAction_->setChecked(settings_.Logerr.On());
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
    UpdateAccessibleState();
}

QProgressBar* MainWindow::CreateAccessibleBar(const QString& name) {
    auto* bar = new QProgressBar(this);
    bar->setRange(0, kPercent);
    bar->setAccessibleName(name);
    // Painted by the window; the widget only tells a screen reader its value,
    // and Qt announces each change of it.
    bar->setGeometry(0, 0, 0, 0);
    bar->setAttribute(Qt::WA_TransparentForMouseEvents);
    return bar;
}

void MainWindow::UpdateAccessibleState() {
    const BatchProgress progress = engine_ ? engine_->Progress() : BatchProgress{};
    const int32_t current = std::min(progress.Finished + 1, progress.Total);
    const QString state = progress.Busy ? tr("converting %1 of %2").arg(current).arg(progress.Total) : tr("idle");
    if (state != accessibleState_) {
        accessibleState_ = state;
        setAccessibleName(tr("Quavermill: %1").arg(state));
        setAccessibleDescription(
            tr("Drop audio files here to convert them, or press Ctrl+O to choose them; %1.").arg(state));
    }
    const double done = progress.Total > 0 ? (progress.Finished + progress.UnderWay) / progress.Total : 0.0;
    fileBar_->setValue(progress.Busy ? static_cast<int>(progress.FirstFraction * kPercent) : 0);
    batchBar_->setValue(static_cast<int>(std::min(done, 1.0) * kPercent));
}

void MainWindow::ConvertFiles() {
    if (services_.pickers.files) QueuePaths(services_.pickers.files(this));
}

void MainWindow::ConvertFolder() {
    if (services_.pickers.folder) QueuePaths(services_.pickers.folder(this));
}

void MainWindow::ShowEncodingOptions() {
    if (services_.dialogs.encodingOptions) services_.dialogs.encodingOptions(this, settings_, vbrSliderPosition_);
    DialogClosed();
}

void MainWindow::ShowOutputDirectory() {
    if (services_.dialogs.outputDirectory) services_.dialogs.outputDirectory(this, settings_);
    DialogClosed();
}

void MainWindow::ShowTaggingSetup() {
    if (services_.dialogs.taggingSetup) services_.dialogs.taggingSetup(this, settings_);
    DialogClosed();
}

void MainWindow::ShowAbout() {
    if (services_.dialogs.about) services_.dialogs.about(this);
    DialogClosed();
}

void MainWindow::DialogClosed() {
    // The Tagging dialog changes AutoTag; any dialog may change settings the
    // menu shows.
    SyncCheckMarks();
    PublishSettings();
}

void MainWindow::SetAutoTagging(bool on) {
    settings_.AutoTag = MenuSwitch(on);
    PublishSettings();
}

void MainWindow::SetDeleteInput(bool on) {
    settings_.DeleteInput = MenuSwitch(on);
    PublishSettings();
}

void MainWindow::SetAlwaysOnTop(bool on) {
    settings_.AlwaysOnTop = MenuSwitch(on);
    SetTopmost(on);
    PublishSettings();
}

void MainWindow::SetErrorsToLog(bool on) {
    settings_.Logerr = MenuSwitch(on);
    errorRoute_->toLog = on;
    PublishSettings();
}

void MainWindow::ExitSaving() {
    SaveSettingsFile(settings_, SettingsFilePath(kIniFileName));
    Quit();
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
        case DropOutcome::EmptyFolder: warn(tr(kEmptyFolderText).arg(QFile::decodeName(path.c_str()))); break;
        }
        for (const UnreadableFolder& folder : unreadable) {
            warn(tr(kUnreadableFolderText)
                     .arg(QFile::decodeName(folder.Path.c_str()), QString::fromLocal8Bit(folder.Reason)));
        }
    }
    engine_->Push(files);
    return true;
}

void MainWindow::ReportIgnoredSettings(const std::string& reason) {
    const std::string file = AbsolutePath(SettingsFilePath(kIniFileName));
    ErrorMessage logLine;
    logLine.File = file;
    logLine.Text = kIgnoredSettingsLogText + reason;
    AppendToLog(services_.logPath, logLine);
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

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (event->key() == Qt::Key_Menu || shiftF10) {
        PopUpMenuFromKeyboard();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    // The right button opens the menu on its release, where it was let go.
    if (event->reason() == QContextMenuEvent::Keyboard) PopUpMenuFromKeyboard();
}

void MainWindow::PopUpMenuFromKeyboard() {
    if (menu_->isVisible()) return;
    EndDrag();
    menu_->popup(mapToGlobal(rect().center()));
    menu_->setActiveAction(menu_->actions().value(0));
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
