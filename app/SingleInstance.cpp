#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "job/OutputNaming.h"

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 5000;
// Paths may hold any byte but NUL, so NUL ends each one; an empty path ends
// the message.
constexpr char kPathEnd = '\0';
// The window's answer once it has queued the paths. Without it the second
// start cannot tell a window that took its files from one that was closing.
constexpr char kQueued = 'Q';
constexpr mode_t kPrivateFolderMode = 0700;
constexpr mode_t kOthersAccess = 0077;

// Empty when `folder` is a real folder of this user that nobody else may enter.
std::string PrivateFolderProblem(const std::string& folder) {
    struct stat status {};
    if (lstat(folder.c_str(), &status) != 0) return std::strerror(errno);
    if (!S_ISDIR(status.st_mode)) return "not a folder";
    if (status.st_uid != geteuid()) return "owned by another user";
    if ((status.st_mode & kOthersAccess) != 0) return "other users may enter it";
    return std::string();
}

bool RefusesConnections(const QString& name) {
    struct stat status {};
    if (lstat(QFile::encodeName(name).constData(), &status) != 0 || !S_ISSOCK(status.st_mode)) return false;
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(kConnectTimeoutMs)) return false;
    return probe.error() == QLocalSocket::ConnectionRefusedError;
}

}  // namespace

std::string InstanceSocketFolder(std::string& problem) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && PrivateFolderProblem(runtime).empty()) return runtime;
    std::error_code error;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) temporary = "/tmp";
    const std::string folder = (temporary / ("quavermill-" + std::to_string(geteuid()))).string();
    // An existing folder, or anything else in the way, is judged below.
    mkdir(folder.c_str(), kPrivateFolderMode);
    problem = PrivateFolderProblem(folder);
    if (problem.empty()) return folder;
    problem = folder + ": " + problem;
    return std::string();
}

QString InstanceName(const std::string& socketFolder, const std::string& settingsFolder) {
    const QByteArray folder = QByteArray::fromStdString(AbsolutePath(settingsFolder));
    const QByteArray digest = QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16);
    return QFile::decodeName(QByteArray::fromStdString(socketFolder)) + QStringLiteral("/quavermill-") +
           QString::fromLatin1(digest);
}

bool HandOverToRunningInstance(const QString& name, const std::vector<std::string>& paths) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    QByteArray message;
    for (const std::string& path : paths) {
        message.append(path.data(), static_cast<qsizetype>(path.size()));
        message.append(kPathEnd);
    }
    message.append(kPathEnd);
    socket.write(message);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kWriteTimeoutMs)) return false;
    }
    const bool queued = socket.waitForReadyRead(kWriteTimeoutMs) && socket.read(1) == QByteArray(1, kQueued);
    socket.disconnectFromServer();
    return queued;
}

InstanceServer::InstanceServer(const QString& name, Receiver receive, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), receive_(std::move(receive)) {
    // No socket options: with any, Qt binds elsewhere and renames the socket
    // over `name`, which would take a live window's socket away. The folder
    // keeps other users out.
    if (!server_->listen(name) && server_->serverError() == QAbstractSocket::AddressInUseError &&
        RefusesConnections(name)) {
        // Left behind by a window that was killed.
        QLocalServer::removeServer(name);
        server_->listen(name);
    }
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::TakeConnection);
}

bool InstanceServer::IsListening() const { return server_->isListening(); }

void InstanceServer::TakeConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, received = QByteArray()]() mutable {
            received.append(socket->readAll());
            const bool whole = received == QByteArray(1, kPathEnd) || received.endsWith(QByteArray(2, kPathEnd));
            if (!whole) return;
            std::vector<std::string> paths;
            for (const QByteArray& path : received.split(kPathEnd)) {
                if (!path.isEmpty()) paths.push_back(path.toStdString());
            }
            received.clear();
            if (receive_) receive_(paths);
            socket->write(QByteArray(1, kQueued));
            socket->flush();
        });
    }
}
