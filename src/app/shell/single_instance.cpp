#include "shell/single_instance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr char kRaiseRequest[] = "raise\n";
constexpr int kConnectTimeoutMs = 2000;

}  // namespace

CSingleInstance::CSingleInstance(const QString& applicationTitle, QObject* parent)
    : QObject(parent), name_(ServerName(applicationTitle)) {}

CSingleInstance::~CSingleInstance() = default;

QString CSingleInstance::ServerName(const QString& applicationTitle) {
    const QByteArray hash =
        QCryptographicHash::hash(applicationTitle.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/quillory-" +
           QString::fromLatin1(hash.left(32));
}

bool CSingleInstance::Claim() {
    if (AskRunningToRaise()) {
        return false;
    }
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &CSingleInstance::ReadRequests);
    if (!server_->listen(name_)) {
        // Nobody answered, so the socket file is left over from a process
        // that ended without removing it.
        QLocalServer::removeServer(name_);
        server_->listen(name_);
    }
    return true;
}

bool CSingleInstance::AskRunningToRaise() const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return false;
    }
    socket.write(kRaiseRequest);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

void CSingleInstance::ReadRequests() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto readLines = [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == kRaiseRequest) {
                    emit raiseRequested();
                }
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, readLines);
        // The request may have come in with the connection.
        readLines();
    }
}
