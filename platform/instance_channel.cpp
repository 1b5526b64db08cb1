#include "platform/instance_channel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <unistd.h>

namespace platform::instance {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kLockTimeoutMs = 10000;

QString LockPath(const QString& title) {
    return QDir(QDir::tempPath()).filePath(ChannelName(title) + u".lock"_qs);
}

} // namespace

QString ChannelName(const QString& title) {
    const QByteArray digest =
        QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return u"tamblewick-%1-%2"_qs.arg(getuid()).arg(QString::fromLatin1(digest));
}

StartGuard::StartGuard(const QString& title) : lock_(std::make_unique<QLockFile>(LockPath(title))) {
    // A copy that cannot get the lock in time goes on without it rather than not starting.
    lock_->setStaleLockTime(kLockTimeoutMs);
    lock_->tryLock(kLockTimeoutMs);
}

void StartGuard::Release() {
    lock_->unlock();
}

bool RunningCopyExists(const QString& title) {
    QLocalSocket socket;
    socket.connectToServer(ChannelName(title));
    return socket.waitForConnected(kConnectTimeoutMs);
}

bool SendToRunningCopy(const QString& title, unsigned message, int replyTimeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(ChannelName(title));
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(QByteArray::number(message) + '\n');
    if (!socket.waitForBytesWritten(replyTimeoutMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(replyTimeoutMs))
            return false;
    return true;
}

Server::Server(const QString& title, WindowProcedure& receiver, std::set<unsigned> allowedMessages)
    : name_(ChannelName(title)), receiver_(receiver), allowed_(std::move(allowedMessages)),
      server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Serve(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            Serve(socket);
        }
    });
}

Server::~Server() {
    server_->close();
}

bool Server::Listen() {
    // listen() would silently take over the socket of a live copy: ask first.
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(kConnectTimeoutMs))
        return false;
    QLocalServer::removeServer(name_);
    return server_->listen(name_);
}

void Server::Serve(QLocalSocket* socket) {
    while (socket->canReadLine()) {
        bool isNumber = false;
        const unsigned message = socket->readLine().trimmed().toUInt(&isNumber);
        // Handled outside the socket's own signal: the handler may run a modal loop (a folder
        // search) in which a sender that stopped waiting disconnects and its socket is deleted.
        QMetaObject::invokeMethod(
            this,
            [this, message, isNumber, alive = QPointer<QLocalSocket>(socket)] {
                LRESULT result = -1;
                if (isNumber && allowed_.contains(message))
                    result = receiver_.WindowProc(message, 0, 0);
                if (!alive)
                    return;
                alive->write(QByteArray::number(static_cast<qlonglong>(result)) + '\n');
                alive->flush();
            },
            Qt::QueuedConnection);
    }
}

} // namespace platform::instance
