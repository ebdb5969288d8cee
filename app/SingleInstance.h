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

// The name the running window listens on, for the user and the settings folder.
QString InstanceName(const std::string& settingsFolder);

// Hands `paths` to the window listening on `name`. False when there is none.
bool HandOverToRunningInstance(const QString& name, const std::vector<std::string>& paths);

// Listens on `name` and calls `receive` with the paths of every later start.
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
