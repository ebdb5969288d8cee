#pragma once
// One window per settings folder: a second start hands its files to the
// window already running on the same Quavermill.ini, which queues them, so
// "Open With" never opens a second window (two windows would write one INI).

#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QLocalServer;

// The folder the instance socket lives in: $XDG_RUNTIME_DIR, else
// "quavermill-<uid>" in the temporary folder, made with mode 0700. Whoever
// could put a socket there would receive this user's files, so a folder that
// is not the user's own, or that others may enter, is refused: the result is
// empty and `problem` says why.
std::string InstanceSocketFolder(std::string& problem);

// The socket in `socketFolder` of the window running on `settingsFolder`.
QString InstanceName(const std::string& socketFolder, const std::string& settingsFolder);

// Hands `paths` to the window listening on `name`. False when there is none,
// or when it did not answer that it queued them (a window that is closing).
bool HandOverToRunningInstance(const QString& name, const std::vector<std::string>& paths);

// Listens on `name` and calls `receive` with the paths of every later start.
// A socket already at `name` is replaced only when it refuses connections:
// one that answers belongs to a live window.
class InstanceServer : public QObject {
public:
    using Receiver = std::function<void(const std::vector<std::string>& paths)>;
    InstanceServer(const QString& name, Receiver receive, QObject* parent = nullptr);
    bool IsListening() const;

private:
    void TakeConnection();

    QLocalServer* server_;
    Receiver receive_;
};
