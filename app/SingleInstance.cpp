#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "job/OutputNaming.h"

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 5000;
// How long a second start waits on a window that does not take its files
// before it tries again, and after how many tries it says that it waits.
constexpr std::chrono::milliseconds kRetryInterval{100};
constexpr int kTriesBeforeWaitingNote = 50;
constexpr int kAnswerWaitSliceMs = 1000;
// Paths may hold any byte but NUL, so NUL ends each one; an empty path ends
// the message.
constexpr char kPathEnd = '\0';
// The window's answers. Without one the second start cannot tell a window
// that took its files from one that was closing.
constexpr char kQueued = 'Q';
constexpr char kRefused = 'R';
constexpr mode_t kPrivateFolderMode = 0700;
constexpr mode_t kPrivateFileMode = 0600;
constexpr mode_t kOthersAccess = 0077;
constexpr const char* kSocketPrefix = "/quavermill-";
constexpr qsizetype kDigestLength = 16;
constexpr const char* kLockSuffix = ".lock";
// sun_path holds the socket's path and its closing NUL.
constexpr std::size_t kSocketPathLimit = sizeof(sockaddr_un{}.sun_path) - 1;

// Empty when `folder` is a real folder of this user that nobody else may enter.
std::string PrivateFolderProblem(const std::string& folder) {
    struct stat status {};
    if (lstat(folder.c_str(), &status) != 0) return std::strerror(errno);
    if (!S_ISDIR(status.st_mode)) return "not a folder";
    if (status.st_uid != geteuid()) return "owned by another user";
    if ((status.st_mode & kOthersAccess) != 0) return "other users may enter it";
    return std::string();
}

bool SocketFits(const std::string& folder) {
    return folder.size() + std::strlen(kSocketPrefix) + kDigestLength <= kSocketPathLimit;
}

}  // namespace

std::string InstanceSocketFolder(std::string& problem) {
    problem.clear();
    const auto tooLong = [&problem](const std::string& folder) {
        problem += "the folder '" + folder + "' is too long for a socket path (at most " +
                   std::to_string(kSocketPathLimit) + " bytes); ";
    };
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && PrivateFolderProblem(runtime).empty()) {
        if (SocketFits(runtime)) return runtime;
        tooLong(runtime);
    }
    std::error_code error;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) temporary = "/tmp";
    const std::string ownName = "quavermill-" + std::to_string(geteuid());
    for (const std::filesystem::path& base : {temporary, std::filesystem::path("/tmp")}) {
        const std::string folder = (base / ownName).string();
        if (!SocketFits(folder)) {
            tooLong(folder);
            continue;
        }
        // An existing folder, or anything else in the way, is judged below.
        mkdir(folder.c_str(), kPrivateFolderMode);
        const std::string own = PrivateFolderProblem(folder);
        if (own.empty()) {
            if (!problem.empty()) problem += "the windows meet in '" + folder + "'";
            return folder;
        }
        problem += "no hand-over between windows: " + folder + ": " + own;
        return std::string();
    }
    problem += "no hand-over between windows";
    return std::string();
}

QString InstanceName(const std::string& socketFolder, const std::string& settingsFolder) {
    const QByteArray folder = QByteArray::fromStdString(AbsolutePath(settingsFolder));
    const QByteArray digest =
        QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(kDigestLength);
    return QFile::decodeName(QByteArray::fromStdString(socketFolder)) + QString::fromLatin1(kSocketPrefix) +
           QString::fromLatin1(digest);
}

InstanceLock::InstanceLock(const QString& name) {
    const QByteArray path = QFile::encodeName(name) + kLockSuffix;
    // Never removed: a lock file unlinked while another start waits on it
    // would let a third start lock a new file beside it.
    descriptor_ = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kPrivateFileMode);
    if (descriptor_ < 0) problem_ = path.toStdString() + ": " + std::strerror(errno);
}

InstanceLock::~InstanceLock() {
    if (descriptor_ >= 0) close(descriptor_);
}

bool InstanceLock::TryTake() {
    if (!held_ && descriptor_ >= 0) held_ = flock(descriptor_, LOCK_EX | LOCK_NB) == 0;
    return held_;
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
    // No time limit while the window lives: a start that gave up on a slow
    // answer and tried again would have its files queued twice. The window
    // answers from its event loop, which runs under its boxes and dialogs
    // too; if it dies, the connection ends.
    while (socket.bytesAvailable() == 0 && socket.state() == QLocalSocket::ConnectedState) {
        socket.waitForReadyRead(kAnswerWaitSliceMs);
    }
    const bool queued = socket.read(1) == QByteArray(1, kQueued);
    socket.disconnectFromServer();
    return queued;
}

StartRole TakeOwnershipOrHandOver(InstanceLock& lock, const QString& name, const std::vector<std::string>& paths) {
    if (!lock.Problem().empty()) {
        std::fprintf(stderr, "quavermill: %s\n", lock.Problem().c_str());
        return HandOverToRunningInstance(name, paths) ? StartRole::HandedOver : StartRole::Owner;
    }
    for (int tries = 1;; ++tries) {
        if (lock.TryTake()) return StartRole::Owner;
        if (HandOverToRunningInstance(name, paths)) return StartRole::HandedOver;
        if (tries == kTriesBeforeWaitingNote)
            std::fprintf(stderr, "quavermill: waiting for the Quavermill window that is closing or opening\n");
        std::this_thread::sleep_for(kRetryInterval);
    }
}

InstanceServer::InstanceServer(const QString& name, Receiver receive, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), receive_(std::move(receive)) {
    // No socket options: with any, Qt binds elsewhere and renames the socket
    // over `name`. The folder keeps other users out.
    QLocalServer::removeServer(name);
    server_->listen(name);
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
            // The receiver must not wait on anything (a box above all): the
            // socket is answered before this returns to any event loop, which
            // could otherwise see the other end go and delete the socket.
            const bool queued = receive_ && receive_(paths);
            socket->write(QByteArray(1, queued ? kQueued : kRefused));
            socket->flush();
        });
    }
}
