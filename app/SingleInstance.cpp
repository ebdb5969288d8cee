#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 5000;
// Paths may hold any byte but NUL, so NUL ends each one.
constexpr char kPathEnd = '\0';

}  // namespace

QString InstanceName(const std::string& settingsFolder) {
    const QByteArray folder = QDir(QString::fromStdString(settingsFolder)).absolutePath().toUtf8();
    const QByteArray digest = QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("quavermill-%1-%2").arg(getuid()).arg(QString::fromLatin1(digest));
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
    socket.write(message);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kWriteTimeoutMs)) return false;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWriteTimeoutMs);
    return true;
}

InstanceServer::InstanceServer(const QString& name, Receiver receive, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), receive_(std::move(receive)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) {
        // Left behind by a window that crashed: nobody answered on it.
        QLocalServer::removeServer(name);
        server_->listen(name);
    }
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::TakeConnection);
}

bool InstanceServer::IsListening() const { return server_->isListening(); }

void InstanceServer::TakeConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        auto* received = new QByteArray;
        connect(socket, &QLocalSocket::readyRead, socket, [socket, received] { received->append(socket->readAll()); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, received] {
            received->append(socket->readAll());
            std::vector<std::string> paths;
            for (const QByteArray& path : received->split(kPathEnd)) {
                if (!path.isEmpty()) paths.push_back(path.toStdString());
            }
            delete received;
            socket->deleteLater();
            if (receive_) receive_(paths);
        });
    }
}
