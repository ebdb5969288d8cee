#pragma once
// One window per settings folder: a second start hands its files to the
// window already running on the same Quavermill.ini, which queues them, so
// "Open With" never opens a second window (two windows would write one INI).
//
// The name is taken with a lock before any window is built, and held for
// the window's life: two starts at the same moment cannot both become the
// window, and the kernel lets the lock go however the window's process ends.

#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QLocalServer;

// The folder the instance socket lives in: $XDG_RUNTIME_DIR, else
// "quavermill-<uid>" in the temporary folder, else in /tmp, made with mode
// 0700. A folder whose socket path would not fit the kernel's limit is passed
// over, and `problem` says so. Whoever could put a socket in the folder would
// receive this user's files, so one that is not the user's own, or that
// others may enter, is refused: the result is empty and `problem` says why.
std::string InstanceSocketFolder(std::string& problem);

// The socket in `socketFolder` of the window running on `settingsFolder`.
QString InstanceName(const std::string& socketFolder, const std::string& settingsFolder);

// The lock file beside the socket `name`, opened (and made) at once; the
// lock is taken by TryTake and held until the object goes.
class InstanceLock {
public:
    explicit InstanceLock(const QString& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Empty when the lock file is open; else why not.
    const std::string& Problem() const { return problem_; }
    // Takes the lock without waiting; true when it is held now.
    bool TryTake();
    bool Held() const { return held_; }

private:
    int descriptor_ = -1;
    bool held_ = false;
    std::string problem_;
};

// Hands `paths` to the window listening on `name`. True only when it answered
// that it queued them; false when there is no window, or it refused them
// (its Exit has begun), or it ended before it answered.
bool HandOverToRunningInstance(const QString& name, const std::vector<std::string>& paths);

enum class StartRole { Owner, HandedOver };

// Either this start takes `lock` and builds the window (Owner), or it hands
// `paths` to the window of the process that holds the lock (HandedOver).
// While the holder does not take them (its window is not built yet, or it is
// closing), this start waits and tries both again. Without a lock file the
// start hands over if it can and owns otherwise.
StartRole TakeOwnershipOrHandOver(InstanceLock& lock, const QString& name, const std::vector<std::string>& paths);

// Listens on `name` and calls `receive` with the paths of every later start;
// its answer (true: queued) goes back to that start. Only the holder of the
// name's lock builds one, so a socket already at `name` is a dead window's.
class InstanceServer : public QObject {
public:
    using Receiver = std::function<bool(const std::vector<std::string>& paths)>;
    InstanceServer(const QString& name, Receiver receive, QObject* parent = nullptr);
    bool IsListening() const;

private:
    void TakeConnection();

    QLocalServer* server_;
    Receiver receive_;
};
