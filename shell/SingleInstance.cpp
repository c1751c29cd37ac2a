#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace vorn {

namespace {

const QByteArray kRaise = "raise\n";
const QByteArray kDone = "ok\n";

} // namespace

QString SingleInstance::DefaultKey() {
    // Class and title of the main window, kept apart per user.
    const QByteArray user = QDir::homePath().toUtf8();
    return QStringLiteral("TVornMF-Vorn-") +
           QString::fromLatin1(
               QCryptographicHash::hash(user, QCryptographicHash::Sha1).toHex().left(12));
}

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), key_(key) {}

bool SingleInstance::AskRunningCopy(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kRaise);
    socket.waitForBytesWritten(timeoutMs);
    // The running copy answers once its window is up front.
    while (socket.bytesAvailable() < kDone.size()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readAll().startsWith(kDone);
}

bool SingleInstance::Listen() {
    if (!server_) {
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        connect(server_, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
    }
    if (server_->listen(key_))
        return true;
    if (server_->serverError() == QAbstractSocket::AddressInUseError) {
        // Either another copy has just started, or a crashed copy left its
        // socket file behind.
        if (AskRunningCopy(500))
            return false;
        QLocalServer::removeServer(key_);
        return server_->listen(key_);
    }
    return false;
}

bool SingleInstance::IsListening() const {
    return server_ && server_->isListening();
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() == kRaise) {
                emit raiseRequested();
                socket->write(kDone);
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

} // namespace vorn
