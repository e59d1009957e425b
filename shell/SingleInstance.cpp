#include "shell/SingleInstance.h"

#include <unistd.h>

#include <utility>

#include <QLocalSocket>

namespace quorvel {

namespace {
constexpr int kAnswerTimeoutMs = 1000;
}

SingleInstance::SingleInstance(QString key, QObject* parent) : QObject(parent), key_(std::move(key)) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            Q_EMIT activationRequested();
        }
    });
}

bool SingleInstance::forwardToRunning() {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(kAnswerTimeoutMs)) return false;
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::claim() {
    if (server_.listen(key_)) return true;
    if (server_.serverError() != QAbstractSocket::AddressInUseError) return false;
    // Nobody answered forwardToRunning, so the name is a leftover.
    QLocalServer::removeServer(key_);
    return server_.listen(key_);
}

QString singleInstanceKey() { return QStringLiteral("TMainFormQuorvel-%1").arg(static_cast<qulonglong>(getuid())); }

}  // namespace quorvel
