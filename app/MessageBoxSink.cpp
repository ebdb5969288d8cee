#include "app/MessageBoxSink.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <condition_variable>
#include <cstdio>
#include <mutex>

struct MessageBoxSink::Shared {
    QPointer<QObject> mainThreadObject;
    QThread* mainThread = nullptr;
    ShowMessageBoxFunction show;

    std::mutex lock;
    std::condition_variable changed;
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

    // The call's own record outlives this frame: if Shutdown releases us
    // before the main thread runs the queued box, the box sees the flag and
    // skips itself.
    auto finished = std::make_shared<bool>(false);
    std::unique_lock<std::mutex> hold(shared->lock);
    // Queued under the lock: the owner calls Shutdown before it destroys the
    // main-thread object, so the object is alive while the flag is clear.
    const bool queued = !shared->shutDown && shared->mainThreadObject &&
                        QMetaObject::invokeMethod(
                            shared->mainThreadObject.data(),
                            [shared, finished, request] {
                                bool skip;
                                {
                                    std::lock_guard<std::mutex> guard(shared->lock);
                                    skip = shared->shutDown;
                                }
                                if (!skip) shared->show(request);
                                {
                                    std::lock_guard<std::mutex> guard(shared->lock);
                                    *finished = true;
                                }
                                shared->changed.notify_all();
                            },
                            Qt::QueuedConnection);
    if (!queued) {
        hold.unlock();
        WriteToStandardError(text);
        return;
    }
    shared->changed.wait(hold, [&] { return *finished || shared->shutDown; });
}

void MessageBoxSink::Shutdown() {
    {
        std::lock_guard<std::mutex> hold(shared_->lock);
        shared_->shutDown = true;
    }
    shared_->changed.notify_all();
}
