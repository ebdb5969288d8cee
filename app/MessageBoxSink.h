#pragma once
// Modal message boxes for the desktop program, and the bridge that lets the
// batch engine's workers show one on the main thread and wait until it is closed.

#include <QMessageBox>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QObject;

struct MessageBoxRequest {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Shows a box and returns once it is closed. Tests pass a recorder instead,
// so that they never block on a real box.
using ShowMessageBoxFunction = std::function<void(const MessageBoxRequest&)>;

// A modal box with an OK button and no owner window.
void ShowModalMessageBox(const MessageBoxRequest& request);

// The caption of the error boxes, and of any box with no caption of its own.
inline constexpr const char* kErrorBoxCaption = "Error";

// ReportError's message-box sink: caption "Error", OK button, no icon.
//
// The box is always shown on the thread of `mainThreadObject`. A call from
// that thread shows it at once (a blocking queued call to its own thread
// would deadlock). A call from another thread queues the box and waits until
// the main thread has closed it, so the worker pauses while the window keeps
// painting. Unlike a BlockingQueuedConnection, that wait ends on Shutdown():
// the main thread can then join the worker even if the worker had just
// queued a box. Boxes from several workers are shown one after the other,
// each holding only the worker that raised it.
class MessageBoxSink {
public:
    MessageBoxSink(QObject* mainThreadObject, ShowMessageBoxFunction show);
    ~MessageBoxSink();
    MessageBoxSink(const MessageBoxSink&) = delete;
    MessageBoxSink& operator=(const MessageBoxSink&) = delete;

    // Any thread.
    void Show(const std::string& text);
    // Any thread, and never waits: the box joins the same queue and is shown
    // once the boxes before it are closed. The window's own warnings come
    // this way, so that no box opens inside the handler that raised it.
    void Post(const MessageBoxRequest& request);
    // Releases every waiting caller; boxes not yet shown are dropped and
    // later messages go to standard error.
    void Shutdown();

private:
    struct Shared;
    // Main thread: shows the boxes waiting their turn, one after the other.
    static void ShowPendingBoxes(const std::shared_ptr<Shared>& shared);
    // With the lock held: queues the box, and its turn on the main thread.
    // False when no box can be shown any more.
    static bool QueueLocked(const std::shared_ptr<Shared>& shared, const MessageBoxRequest& request,
                            std::shared_ptr<bool> finished);

    std::shared_ptr<Shared> shared_;
};
