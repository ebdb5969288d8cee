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
#include <map>
#include <memory>
#include <string>

#include "app/MessageBoxSink.h"
#include "queue/BatchEngine.h"
#include "settings/Settings.h"

class QAction;
class QMenu;

// Popup menu command ids.
enum MenuCommand : int {
    kCommandEncodingOptions = 40010,
    kCommandOutputDirectory = 40011,
    kCommandTaggingSetup = 40012,
    kCommandAbout = 40013,
    kCommandAutoTagging = 40014,
    kCommandDeleteInput = 40015,
    kCommandAlwaysOnTop = 40016,
    kCommandErrorsToLog = 40017,
    kCommandExit = 40018,
};

inline constexpr int kAnimationFrameCount = 8;
inline constexpr int kAnimationIntervalMs = 80;

// Opens the dialog of one of the commands 40010 to 40013, modally, on the
// window's settings and VBR slider position.
using RunDialogFunction =
    std::function<void(int command, QWidget* owner, Settings& settings, int32_t& sliderPosition)>;

// What the window works with; tests replace the parts that would block or
// depend on the machine.
struct WindowServices {
    Settings* settings = nullptr;  // the user's choices; owned by the caller
    QSize screenSize;
    ShowMessageBoxFunction showMessageBox;
    RunDialogFunction runDialog;
    std::size_t workers = 0;  // files converted at once; 0: one per processor core
    std::string logPath;      // "Quavermill.log" in the settings folder
    // After a batch, on the main thread, with whether its errors went to the log.
    std::function<void(const BatchSummary& summary, bool errorsToLog)> batchEnded;
};

// The settings given, the primary screen's size, real modal boxes, the four
// dialogs of ui/ and the log in the settings folder.
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
    QAction* MenuAction(int command) const;
    // Runs a menu command as if chosen from the menu; other ids are ignored.
    void RunCommand(int command);
    bool IsTopmost() const;

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
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void LoadFrames();
    void ApplyToggle(int command, bool checked);
    // The settings for every file that starts from now on.
    void PublishSettings();
    void SetTopmost(bool on);
    void EndDrag();
    void Quit();

    WindowServices services_;
    Settings& settings_;
    int32_t vbrSliderPosition_ = 0;

    QMenu* menu_ = nullptr;
    std::map<int, QAction*> actions_;

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
