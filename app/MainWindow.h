#pragma once
// The 130 x 130 frameless drop target: it queues dropped files on its batch
// engine, paints the engine's progress, moves when dragged and reaches every
// setting through its right-button menu.

#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MessageBoxSink.h"
#include "queue/BatchEngine.h"
#include "settings/Settings.h"

class QAction;
class QMenu;
class QProgressBar;

// Object names of the menu's actions.
namespace window_actions {
inline constexpr const char* kConvertFiles = "convertFilesAction";
inline constexpr const char* kConvertFolder = "convertFolderAction";
inline constexpr const char* kEncodingOptions = "encodingOptionsAction";
inline constexpr const char* kOutputDirectory = "outputDirectoryAction";
inline constexpr const char* kTaggingSetup = "taggingSetupAction";
inline constexpr const char* kAbout = "aboutAction";
inline constexpr const char* kAutoTagging = "autoTaggingAction";
inline constexpr const char* kDeleteInput = "deleteInputAction";
inline constexpr const char* kAlwaysOnTop = "alwaysOnTopAction";
inline constexpr const char* kErrorsToLog = "errorsToLogAction";
inline constexpr const char* kExit = "exitAction";
}  // namespace window_actions

inline constexpr int kAnimationFrameCount = 8;
inline constexpr int kAnimationIntervalMs = 80;

// The four dialogs of the menu, each run modally on the window's settings
// (and the Encoding Options on the VBR slider's working position).
struct MenuDialogs {
    std::function<void(QWidget* owner, Settings& settings, int32_t& sliderPosition)> encodingOptions;
    std::function<void(QWidget* owner, Settings& settings)> outputDirectory;
    std::function<void(QWidget* owner, Settings& settings)> taggingSetup;
    std::function<void(QWidget* owner)> about;
};

// The platform's file dialogs of "Convert Files..." and "Convert Folder...":
// the picked paths as bytes, none when cancelled.
struct ConvertPickers {
    std::function<std::vector<std::string>(QWidget* owner)> files;
    std::function<std::vector<std::string>(QWidget* owner)> folder;
};

// What the window works with; tests replace the parts that would block or
// depend on the machine.
struct WindowServices {
    Settings* settings = nullptr;  // the user's choices; owned by the caller
    QSize screenSize;
    ShowMessageBoxFunction showMessageBox;
    MenuDialogs dialogs;
    std::size_t workers = 0;  // files converted at once; 0: one per processor core
    std::string logPath;      // "Quavermill.log" in the settings folder
    // After a batch, on the main thread, with whether its errors went to the log.
    std::function<void(const BatchSummary& summary, bool errorsToLog)> batchEnded;
    ConvertPickers pickers;
};

// The settings given, the primary screen's size, real modal boxes, the four
// dialogs of ui/, the platform's file dialogs and the log in the settings
// folder.
WindowServices DefaultWindowServices(Settings& settings);

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Placed from the settings' Window_X / Window_Y on services.screenSize.
    explicit MainWindow(WindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Brings conversions and window in line with the settings: the files
    // that start next, the check marks, the topmost state, where errors go
    // and the VBR slider's position.
    void ApplySettings();
    // Re-reads the four check marks from the settings.
    void SyncCheckMarks();

    void StartAnimationTimer();
    // Starts the batch engine's workers.
    void StartConversions(BatchJobs jobs);
    // Stops every file under way (each removes its partial output), drops
    // the queued ones and waits for the workers. Workers waiting on a
    // message box are released first. Safe to call more than once.
    void StopConversions();
    // The same, but gives up waiting after `timeout`, with false, when a
    // worker is held in a read that no stop reaches.
    bool StopConversionsWithin(std::chrono::milliseconds timeout);
    const BatchEngine* Engine() const { return engine_.get(); }

    // One timer step: the frame advances while a file runs or waits and
    // finishes its cycle back to frame 0 afterwards.
    void Tick();
    int FrameIndex() const { return frameIndex_; }

    QMenu* PopupMenu() const { return menu_; }
    bool IsTopmost() const;
    // What the window tells a screen reader: its state, idle or converting
    // N of M, in its accessible name and description.
    void UpdateAccessibleState();

    // Queues dropped file URLs, in order.
    void QueueDroppedUrls(const QList<QUrl>& urls);
    // Queues files and folders as if they had been dropped, in order and in
    // one step: the program's arguments and those a second start hands over.
    // Never waits: warnings about the paths join the queue of boxes. False,
    // with nothing queued, once the conversions have stopped (Exit).
    bool QueuePaths(const std::vector<std::string>& paths);
    // The settings file was not read (`reason` says why): to the log, and to
    // a box that waits its turn like any other.
    void ReportIgnoredSettings(const std::string& reason);

public slots:
    void ConvertFiles();
    void ConvertFolder();
    void ShowEncodingOptions();
    void ShowOutputDirectory();
    void ShowTaggingSetup();
    void ShowAbout();
    void SetAutoTagging(bool on);
    void SetDeleteInput(bool on);
    void SetAlwaysOnTop(bool on);
    void SetErrorsToLog(bool on);
    // Saves the settings and ends the program.
    void ExitSaving();

signals:
    // Exit or close: the program should leave its event loop with this code.
    void QuitRequested(int exitCode);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    QAction* AddMenuAction(const QString& text, const char* name, void (MainWindow::*slot)());
    QAction* AddMenuToggle(const QString& text, const char* name, void (MainWindow::*slot)(bool));
    void LoadFrames();
    // After a dialog: it may have changed what the menu shows.
    void DialogClosed();
    void PopUpMenuFromKeyboard();
    QProgressBar* CreateAccessibleBar(const QString& name);
    // The settings for every file that starts from now on.
    void PublishSettings();
    void SetTopmost(bool on);
    void EndDrag();
    void Quit();

    WindowServices services_;
    Settings& settings_;
    int32_t vbrSliderPosition_ = 0;

    QMenu* menu_ = nullptr;
    QAction* convertFilesAction_ = nullptr;
    QAction* convertFolderAction_ = nullptr;
    QAction* encodingOptionsAction_ = nullptr;
    QAction* outputDirectoryAction_ = nullptr;
    QAction* taggingSetupAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* autoTaggingAction_ = nullptr;
    QAction* deleteInputAction_ = nullptr;
    QAction* alwaysOnTopAction_ = nullptr;
    QAction* errorsToLogAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    // What the screen reader was last told, so it hears only changes.
    QString accessibleState_;
    QProgressBar* fileBar_ = nullptr;
    QProgressBar* batchBar_ = nullptr;

    QImage canvas_;
    std::array<QImage, kAnimationFrameCount> frames_;
    int frameIndex_ = 0;
    QFont smallFont_;
    QTimer animationTimer_;

    bool dragging_ = false;
    QPoint dragOffset_;

    // Read by the workers: where each message goes.
    struct ErrorRoute {
        std::atomic<bool> toLog{false};
        std::string logPath;
        std::shared_ptr<MessageBoxSink> boxes;
    };
    std::shared_ptr<ErrorRoute> errorRoute_;
    bool stopped_ = false;
    // Declared last, so it stops before anything it reports to goes.
    std::unique_ptr<BatchEngine> engine_;
};
