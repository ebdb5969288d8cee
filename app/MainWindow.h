#pragma once
// The 130 x 130 frameless drop target: it queues dropped files, paints the
// progress of the worker from the queue's counters, moves when dragged and
// reaches every setting through its right-button menu.

#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <thread>

#include "app/MessageBoxSink.h"
#include "queue/Worker.h"

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

// Opens the dialog of one of the commands 40010 to 40013, modally.
using RunDialogFunction = std::function<void(int command, QWidget* owner)>;

// What the window works with; tests replace the parts that would block or
// depend on the machine.
struct WindowServices {
    FileQueue* queue = nullptr;
    QSize screenSize;
    ShowMessageBoxFunction showMessageBox;
    RunDialogFunction runDialog;
};

// The queue given, the primary screen's size, real modal boxes and the four
// dialogs of ui/.
WindowServices DefaultWindowServices(FileQueue& queue);

class MainWindow : public QWidget {
    Q_OBJECT

public:
    // Placed from CurrentSettings() Window_X / Window_Y on services.screenSize.
    explicit MainWindow(WindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Brings jobs and window in line with CurrentSettings(): the encoder's
    // working copy, the check marks, the topmost state, the error sink and
    // the VBR slider's position.
    void ApplySettings();
    // Re-reads the four check marks from CurrentSettings().
    void SyncCheckMarks();

    void StartAnimationTimer();
    // Routes ReportError's message boxes through this window's thread.
    void InstallErrorSink();
    void StartConversions(WorkerJobs jobs);
    // Sets Quitting and waits for the worker: a running job stops at its next
    // block and removes its partial output. A worker waiting on a message
    // box is released first. Safe to call more than once.
    void StopConversions();

    // One timer step: the frame advances while Busy is set and finishes its
    // cycle back to frame 0 afterwards.
    void Tick();
    int FrameIndex() const { return frameIndex_; }

    QMenu* PopupMenu() const { return menu_; }
    QAction* MenuAction(int command) const;
    // Runs a menu command as if chosen from the menu; other ids are ignored.
    void RunCommand(int command);
    bool IsTopmost() const;

    // Queues dropped file URLs, in order.
    void QueueDroppedUrls(const QList<QUrl>& urls);
    // Queues files and folders as if they had been dropped, in order: the
    // program's arguments and those a second start hands over.
    void QueuePaths(const std::vector<std::string>& paths);

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
    void ApplyToggle(int command, int32_t value);
    void SetTopmost(bool on);
    void EndDrag();
    void Quit();

    WindowServices services_;
    FileQueue& queue_;

    QMenu* menu_ = nullptr;
    std::map<int, QAction*> actions_;

    QImage canvas_;
    std::array<QImage, kAnimationFrameCount> frames_;
    int frameIndex_ = 0;
    QFont smallFont_;
    QTimer animationTimer_;

    bool dragging_ = false;
    QPoint dragOffset_;

    std::shared_ptr<MessageBoxSink> errorSink_;
    bool errorSinkInstalled_ = false;
    std::thread worker_;
};
