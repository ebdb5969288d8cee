#include "app/MessageBoxSink.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <cstdio>
#include <mutex>

struct MessageBoxSink::Shared {
    QPointer<QObject> mainThreadObject;
    QThread* mainThread = nullptr;
    ShowMessageBoxFunction show;

    // A box waiting its turn, and the flag its worker waits for (none for
    // a posted box).
    struct Pending {
        MessageBoxRequest request;
        std::shared_ptr<bool> finished;
    };

    std::mutex lock;
    std::condition_variable changed;
    std::deque<Pending> pending;
    bool showing = false;  // main thread only
    bool shutDown = false;
};

void ShowModalMessageBox(const MessageBoxRequest& request) {
    QMessageBox box(request.icon, request.caption, request.text, QMessageBox::Ok);
    box.exec();
}

MessageBoxSink::MessageBoxSink(QObject* mainThreadObject, ShowMessageBoxFunction show)
    : shared_(std::make_shared<Shared>()) {
    shared_->mainThreadObject = mainThreadObject;
    shared_->mainThread = mainThreadObject->thread();
    shared_->show = std::move(show);
}

MessageBoxSink::~MessageBoxSink() {
    Shutdown();
}

namespace {

void WriteToStandardError(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

}  // namespace

// A box's own event loop may run this again for a box queued meanwhile;
// that call leaves it to the loop already running, so boxes never pile up
// on top of each other.
void MessageBoxSink::ShowPendingBoxes(const std::shared_ptr<Shared>& shared) {
    if (shared->showing) return;
    shared->showing = true;
    for (;;) {
        Shared::Pending next;
        {
            std::lock_guard<std::mutex> hold(shared->lock);
            if (shared->pending.empty() || shared->shutDown) break;
            next = std::move(shared->pending.front());
            shared->pending.pop_front();
        }
        shared->show(next.request);
        if (next.finished) {
            std::lock_guard<std::mutex> hold(shared->lock);
            *next.finished = true;
        }
        shared->changed.notify_all();
    }
    shared->showing = false;
}

void MessageBoxSink::Show(const std::string& text) {
    const MessageBoxRequest request{kErrorBoxCaption, QString::fromStdString(text), QMessageBox::NoIcon};
    std::shared_ptr<Shared> shared = shared_;
    if (QThread::currentThread() == shared->mainThread) {
        if (shared->shutDown) {
            WriteToStandardError(text);
            return;
        }
        shared->show(request);
        return;
    }

    // The record outlives this frame: if Shutdown releases us before the
    // main thread gets to the box, the box is dropped there.
    auto finished = std::make_shared<bool>(false);
    std::unique_lock<std::mutex> hold(shared->lock);
    if (!QueueLocked(shared, request, finished)) {
        hold.unlock();
        WriteToStandardError(text);
        return;
    }
    shared->changed.wait(hold, [&] { return *finished || shared->shutDown; });
    // Released by Shutdown before its box was shown: the message still
    // reaches the user's terminal.
    if (!*finished) {
        hold.unlock();
        WriteToStandardError(text);
    }
}

void MessageBoxSink::Post(const MessageBoxRequest& request) {
    std::unique_lock<std::mutex> hold(shared_->lock);
    if (QueueLocked(shared_, request, nullptr)) return;
    hold.unlock();
    WriteToStandardError(request.text.toStdString());
}

// Queued under the lock: the owner calls Shutdown before it destroys the
// main-thread object, so the object is alive while the flag is clear.
bool MessageBoxSink::QueueLocked(const std::shared_ptr<Shared>& shared, const MessageBoxRequest& request,
                                 std::shared_ptr<bool> finished) {
    if (shared->shutDown || !shared->mainThreadObject) return false;
    shared->pending.push_back({request, std::move(finished)});
    const bool queued = QMetaObject::invokeMethod(
        shared->mainThreadObject.data(), [shared] { ShowPendingBoxes(shared); }, Qt::QueuedConnection);
    if (!queued) shared->pending.pop_back();
    return queued;
}

void MessageBoxSink::Shutdown() {
    {
        std::lock_guard<std::mutex> hold(shared_->lock);
        shared_->shutDown = true;
    }
    shared_->changed.notify_all();
}
